#pragma once

#include <exception>
#include <string>

namespace cotalys {

// Root of every failure of the program's own logic; the message is French and user-facing.
class EFinanceError : public std::exception {
public:
    explicit EFinanceError(std::string AMessage) : FMessage(std::move(AMessage)) {}
    const std::string& Message() const noexcept { return FMessage; }
    const char* what() const noexcept override { return FMessage.c_str(); }
    // The class name shown to the user beside the message ("EFinanceError"...).
    virtual const char* ClassName() const noexcept { return "EFinanceError"; }

private:
    std::string FMessage;
};

// A provider or the network failing: missing file, HTTP error, empty range, no provider.
class EDataProviderError : public EFinanceError {
public:
    using EFinanceError::EFinanceError;
    const char* ClassName() const noexcept override { return "EDataProviderError"; }
};

// Invalid input given to an indicator routine.
class EIndicatorError : public EFinanceError {
public:
    using EFinanceError::EFinanceError;
    const char* ClassName() const noexcept override { return "EIndicatorError"; }
};

// Source text that cannot be parsed at all.
class EParseError : public EFinanceError {
public:
    EParseError(std::string AMessage, std::string ASourceName, int ALineNo)
        : EFinanceError(std::move(AMessage)),
          FSourceName(std::move(ASourceName)),
          FLineNo(ALineNo) {}
    // "SOURCE : MSG" when ALineNo < 1, else "SOURCE (ligne N) : MSG".
    static EParseError CreateAt(const std::string& ASourceName, int ALineNo,
                                const std::string& AMsg);
    const std::string& SourceName() const noexcept { return FSourceName; }
    int LineNo() const noexcept { return FLineNo; }
    const char* ClassName() const noexcept override { return "EParseError"; }

private:
    std::string FSourceName;
    int FLineNo;
};

// The class name to show for any exception: ours give their own, standard ones their type name.
std::string ExceptionClassName(const std::exception& AError);

}  // namespace cotalys
