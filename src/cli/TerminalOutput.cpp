#include "cli/TerminalOutput.h"

#include <unistd.h>

namespace cotalys {

TLineFeedBuffer::~TLineFeedBuffer() {
    if (FHeldReturn) {
        FTarget->sputc('\r');
    }
    FTarget->pubsync();
}

TLineFeedBuffer::int_type TLineFeedBuffer::overflow(int_type AChar) {
    if (traits_type::eq_int_type(AChar, traits_type::eof())) {
        return traits_type::not_eof(AChar);
    }
    const char c = traits_type::to_char_type(AChar);
    if (FHeldReturn && c != '\n' &&
        traits_type::eq_int_type(FTarget->sputc('\r'), traits_type::eof())) {
        return traits_type::eof();
    }
    FHeldReturn = c == '\r';
    if (FHeldReturn) {
        return AChar;
    }
    return FTarget->sputc(c);
}

int TLineFeedBuffer::sync() {
    return FTarget->pubsync();
}

bool OutputIsTerminal() {
    return ::isatty(STDOUT_FILENO) == 1;
}

}  // namespace cotalys
