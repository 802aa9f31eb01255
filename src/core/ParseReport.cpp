#include "core/ParseReport.h"

#include <algorithm>

#include "core/Formatting.h"

namespace cotalys {

void TParseReport::Clear() {
    FIssues.clear();
    FWarnings.clear();
    FNotes.clear();
    FAccepted = 0;
    FRejected = 0;
}

void TParseReport::Reject(int ALineNo, const std::string& AMsg) {
    ++FRejected;
    FIssues.push_back({ALineNo, AMsg});
}

void TParseReport::Warn(const std::string& AMsg) {
    if (std::find(FWarnings.begin(), FWarnings.end(), AMsg) == FWarnings.end()) {
        FWarnings.push_back(AMsg);
    }
}

std::string TParseReport::Summary() const {
    return Format("[%s] %d ligne(s) retenue(s), %d rejetee(s), %d avertissement(s)", FSourceName,
                  FAccepted, FRejected, static_cast<int>(FWarnings.size()));
}

std::string TParseReport::Details(int AMaxLines) const {
    std::string text = Summary() + "\r\n";
    for (const auto& warning : FWarnings) {
        text += "  Avertissement : " + warning + "\r\n";
    }
    const int issueCount = static_cast<int>(FIssues.size());
    const int listed = std::clamp(AMaxLines, 0, issueCount);
    for (int i = 0; i < listed; ++i) {
        text += Format("  Ligne %d ignoree : %s", FIssues[i].LineNo, FIssues[i].Message) + "\r\n";
    }
    if (issueCount > listed) {
        text += Format("  ... %d autre(s) anomalie(s)", issueCount - listed) + "\r\n";
    }
    for (const auto& note : FNotes) {
        text += note + "\r\n";
    }
    return text;
}

}  // namespace cotalys
