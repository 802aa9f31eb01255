#pragma once

#include <streambuf>

namespace cotalys {

// A stream buffer that passes text on to ATarget with every CR LF written as a bare LF: what
// the command line prints on a terminal has the terminal's line ends, while the reports keep
// CR LF in their files and when the output is redirected.
class TLineFeedBuffer : public std::streambuf {
public:
    explicit TLineFeedBuffer(std::streambuf* ATarget) : FTarget(ATarget) {}
    // Passes on a CR still held back.
    ~TLineFeedBuffer() override;
    TLineFeedBuffer(const TLineFeedBuffer&) = delete;
    TLineFeedBuffer& operator=(const TLineFeedBuffer&) = delete;

protected:
    int_type overflow(int_type AChar) override;
    int sync() override;

private:
    std::streambuf* FTarget;
    bool FHeldReturn = false;  // a CR written last, passed on unless a LF follows
};

// True when the standard output is a terminal.
bool OutputIsTerminal();

}  // namespace cotalys
