#pragma once

#include <string>
#include <vector>

namespace cotalys {

struct TParseIssue {
    int LineNo = 0;       // 1-based number of the refused line, row or element
    std::string Message;  // the reason
};

// Tally of one parse: bars kept, lines refused with their reasons, warnings about the source.
class TParseReport {
public:
    const std::string& SourceName() const { return FSourceName; }
    void SetSourceName(const std::string& AName) { FSourceName = AName; }
    const std::vector<TParseIssue>& Issues() const { return FIssues; }
    const std::vector<std::string>& Warnings() const { return FWarnings; }
    int Accepted() const { return FAccepted; }
    int Rejected() const { return FRejected; }

    // Empties issues, warnings, notes and both counts; the source name stays.
    void Clear();
    void Accept() { ++FAccepted; }
    void Reject(int ALineNo, const std::string& AMsg);
    // Adds the warning unless exactly the same text is already there.
    void Warn(const std::string& AMsg);
    // Lines about where the data came from, shown after the tally and its issues; they are not
    // warnings about the source.
    const std::vector<std::string>& Notes() const { return FNotes; }
    void AddNote(const std::string& ALine) { FNotes.push_back(ALine); }

    // "[SOURCE] A ligne(s) retenue(s), R rejetee(s), W avertissement(s)"
    std::string Summary() const;
    // The summary, every warning, the first AMaxLines issues and the notes, each line ended by
    // CR LF.
    std::string Details(int AMaxLines) const;

private:
    std::string FSourceName;
    std::vector<TParseIssue> FIssues;
    std::vector<std::string> FWarnings;
    std::vector<std::string> FNotes;
    int FAccepted = 0;
    int FRejected = 0;
};

}  // namespace cotalys
