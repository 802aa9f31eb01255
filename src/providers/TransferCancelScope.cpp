#include "providers/TransferCancelScope.h"

namespace cotalys {
namespace {

// Per thread, so a flag set for one run never stops another thread's transfers.
thread_local const std::atomic<bool>* CurrentCancel = nullptr;

}  // namespace

TTransferCancelScope::TTransferCancelScope(const std::atomic<bool>* ACancel)
    : FPrevious(CurrentCancel) {
    CurrentCancel = ACancel;
}

TTransferCancelScope::~TTransferCancelScope() {
    CurrentCancel = FPrevious;
}

const std::atomic<bool>* TTransferCancelScope::Current() {
    return CurrentCancel;
}

}  // namespace cotalys
