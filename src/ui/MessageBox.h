#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace cotalys {

// The kinds of modal message the windows show; each has a single OK button. mkAbout is the
// program's "A propos" box.
enum class TMessageKind { mkWarning, mkError, mkAbout };

// Shows a modal message box with one OK button, through the current presenter.
void ShowMessage(QWidget* AParent, TMessageKind AKind, const QString& AText);

// How a message is put in front of the user.
using TMessagePresenter = std::function<void(QWidget*, TMessageKind, const QString&)>;

// Replaces the presenter (tests record messages instead of blocking on a modal box); an empty
// presenter restores the real message boxes. Returns the previous one.
TMessagePresenter SetMessagePresenter(TMessagePresenter APresenter);

}  // namespace cotalys
