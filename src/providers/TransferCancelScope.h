#pragma once

#include <atomic>

namespace cotalys {

// The cancel flag of the transfers of one thread. While a scope lives, every HTTP transfer the
// thread makes (through any provider: the quote service, a web page, the local price store's
// downloads, a fallback chain) ends within a tenth of a second once *ACancel is true, with
// ETransferCancelled; a flag already true ends the next transfer before it starts. The flag is
// set from any thread, and must outlive the scope. Scopes nest; a null flag cancels nothing.
//
// A batch run sets one around its whole run, the window around one load:
//     const TTransferCancelScope scope(FCancel.get());
//     LoadSymbol(request, *provider);  // ETransferCancelled once another thread sets *FCancel
class TTransferCancelScope {
public:
    explicit TTransferCancelScope(const std::atomic<bool>* ACancel);
    ~TTransferCancelScope();
    TTransferCancelScope(const TTransferCancelScope&) = delete;
    TTransferCancelScope& operator=(const TTransferCancelScope&) = delete;

    // The flag of the calling thread's innermost scope; null outside any.
    static const std::atomic<bool>* Current();

private:
    const std::atomic<bool>* FPrevious;
};

}  // namespace cotalys
