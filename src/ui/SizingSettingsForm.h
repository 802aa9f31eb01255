#pragma once

#include <QDialog>
#include <QString>
#include <array>

#include "sizing/PositionSizing.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace cotalys {

// The modal dialog that edits the capital, risk and fee settings, with a live example of the
// position they give. It works on its own copy and writes nothing to disk.
class TSizingSettingsForm : public QDialog {
    Q_OBJECT

public:
    // Number of numeric rows.
    static constexpr int EditCount = 11;
    // Largest capital accepted, in euros: beyond it the sizes lose all meaning.
    static constexpr double MaxCapital = 1e9;

    // Shows the dialog modally on AParams; true when the user saved, AParams then holding the
    // accepted settings; otherwise AParams is untouched.
    static bool Execute(QWidget* AOwner, TSizingParams& AParams);

    // Builds the dialog showing AParams.
    TSizingSettingsForm(QWidget* AOwner, const TSizingParams& AParams);

    // The settings given to the dialog, replaced by the accepted ones on "Enregistrer".
    const TSizingParams& Params() const { return FParams; }
    // The example sizing or the first error, as shown under the fields.
    QString PreviewText() const;

private:
    void BuildRows(int AColumn, int& AY);
    bool ReadParams(TSizingParams& AParams, QString& AError) const;
    void UpdatePreview();
    // Gives the example the height of its wrapped text and puts the buttons under it.
    void FitPreview();
    void SaveClick();

    std::array<QLineEdit*, EditCount> FEdits{};
    QComboBox* FPlan = nullptr;
    QCheckBox* FPEA = nullptr;
    QLineEdit* FTTF = nullptr;
    QCheckBox* FPhase = nullptr;
    QLabel* FPreview = nullptr;
    QPushButton* FSave = nullptr;
    QPushButton* FCancel = nullptr;
    int FFieldWidth = 0;  // the plan list's width, the longest plan shown whole
    TSizingParams FParams;
};

}  // namespace cotalys
