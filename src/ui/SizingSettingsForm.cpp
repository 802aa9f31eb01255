#include "ui/SizingSettingsForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <cstdint>

#include "core/Core.h"
#include "ui/MessageBox.h"
#include "ui/NumberText.h"
#include "ui/UiText.h"
#include "ui/WindowFont.h"

namespace cotalys {

namespace {

// One numeric row: its label and the field it edits (a decimal or a whole number).
struct TSizingRow {
    const char* Label;
    double TSizingParams::*Real;
    std::int32_t TSizingParams::*Whole;
};

const std::array<TSizingRow, TSizingSettingsForm::EditCount> SizingRows = {{
    {"Capital du portefeuille (EUR)", &TSizingParams::Capital, nullptr},
    {"Risque par position (% du capital)", &TSizingParams::RiskPct, nullptr},
    {"Position maximale (% du capital)", &TSizingParams::MaxPositionPct, nullptr},
    {"Facteur de glissement au stop", &TSizingParams::SlippageFactor, nullptr},
    {"Frais fixes par ordre (EUR)", &TSizingParams::FeeFixed, nullptr},
    {"Frais proportionnels par ordre (%)", &TSizingParams::FeePct, nullptr},
    {"Nombre maximal de positions", nullptr, &TSizingParams::MaxPositions},
    {"Risque total maximal (% du capital)", &TSizingParams::MaxTotalRiskPct, nullptr},
    {"Positions deja ouvertes", nullptr, &TSizingParams::OpenPositions},
    {"Risque deja engage (% du capital)", &TSizingParams::OpenRiskPct, nullptr},
    {"Montant deja investi (EUR)", &TSizingParams::InvestedAmount, nullptr},
}};

double RowValue(const TSizingParams& AParams, const TSizingRow& ARow) {
    return ARow.Real ? AParams.*ARow.Real : static_cast<double>(AParams.*ARow.Whole);
}

void SetRowValue(TSizingParams& AParams, const TSizingRow& ARow, double AValue) {
    if (ARow.Real) {
        AParams.*ARow.Real = AValue;
    } else {
        AParams.*ARow.Whole = RoundToInt32(AValue);
    }
}

constexpr int EditWidth = 110;
constexpr int PlanWidth = 190;
constexpr int RowHeight = 23;
constexpr int RowStep = 30;

}  // namespace

bool TSizingSettingsForm::Execute(QWidget* AOwner, TSizingParams& AParams) {
    TSizingSettingsForm dialog(AOwner, AParams);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    AParams = dialog.Params();
    return true;
}

TSizingSettingsForm::TSizingSettingsForm(QWidget* AOwner, const TSizingParams& AParams)
    : QDialog(AOwner), FParams(AParams) {
    setWindowTitle(QStringLiteral("Taille de position adaptee au risque"));
    ApplyWindowFont(this);
    const auto px = [this](int AValue) { return Scaled(this, AValue); };

    const QFontMetrics metrics(font());
    int widest = 0;
    for (const TSizingRow& row : SizingRows) {
        widest = std::max(widest, metrics.horizontalAdvance(QString::fromLatin1(row.Label)));
    }
    const int column = widest + px(16);
    int y = px(12);
    BuildRows(column, y);

    FSave = new QPushButton(QStringLiteral("Enregistrer"), this);
    FSave->setObjectName(QStringLiteral("save"));
    FSave->setDefault(true);
    FCancel = new QPushButton(QStringLiteral("Annuler"), this);
    FCancel->setObjectName(QStringLiteral("cancel"));

    for (QLineEdit* edit : FEdits) {
        connect(edit, &QLineEdit::textChanged, this, &TSizingSettingsForm::UpdatePreview);
    }
    connect(FTTF, &QLineEdit::textChanged, this, &TSizingSettingsForm::UpdatePreview);
    connect(FPlan, &QComboBox::currentIndexChanged, this, &TSizingSettingsForm::UpdatePreview);
    connect(FPEA, &QCheckBox::toggled, this, &TSizingSettingsForm::UpdatePreview);
    connect(FPhase, &QCheckBox::toggled, this, &TSizingSettingsForm::UpdatePreview);
    connect(FSave, &QPushButton::clicked, this, &TSizingSettingsForm::SaveClick);
    connect(FCancel, &QPushButton::clicked, this, &QDialog::reject);
    UpdatePreview();
}

void TSizingSettingsForm::FitPreview() {
    const auto px = [this](int AValue) { return Scaled(this, AValue); };
    const int height = std::max(px(80), FPreview->heightForWidth(FPreview->width()));
    FPreview->resize(FPreview->width(), height);
    const int y = FPreview->y() + height + px(8);
    const int clientWidth = FPreview->width() + px(24);
    FSave->setGeometry(clientWidth - px(200), y, px(90), px(27));
    FCancel->setGeometry(clientWidth - px(102), y, px(90), px(27));
    setFixedSize(clientWidth, y + px(40));
}

void TSizingSettingsForm::BuildRows(int AColumn, int& AY) {
    const auto px = [this](int AValue) { return Scaled(this, AValue); };
    const auto addLabel = [&](const QString& AText, int ATop) {
        auto* label = new QLabel(AText, this);
        label->move(px(12), ATop + px(3));
        label->adjustSize();
    };
    const auto addEdit = [&](const QString& AName, double AValue) {
        auto* edit = new QLineEdit(EditText(AValue), this);
        edit->setObjectName(AName);
        edit->setGeometry(px(12) + AColumn, AY, px(EditWidth), px(RowHeight));
        return edit;
    };
    // The plan list is as wide as its longest plan, never narrower than the designed width.
    FPlan = new QComboBox(this);
    FPlan->setObjectName(QStringLiteral("plan"));
    FPlan->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    for (TFeePlan plan : {TFeePlan::fpCustom, TFeePlan::fpBoursoDecouverte,
                          TFeePlan::fpBoursoTrader, TFeePlan::fpBoursoUltimate}) {
        FPlan->addItem(plan == TFeePlan::fpCustom
                           ? QStringLiteral("Frais personnalises (ci-dessus)")
                           : ToQ(TSizingParams::PlanName(plan)));
    }
    FFieldWidth = std::max(px(PlanWidth), FPlan->sizeHint().width());
    const auto addCheck = [&](const QString& AName, const QString& AText, bool AChecked) {
        auto* box = new QCheckBox(AText, this);
        box->setObjectName(AName);
        box->setGeometry(px(12), AY, AColumn + FFieldWidth, px(RowHeight));
        box->setChecked(AChecked);
        return box;
    };

    for (int i = 0; i < EditCount; ++i) {
        addLabel(QString::fromLatin1(SizingRows[i].Label), AY);
        FEdits[i] = addEdit(QStringLiteral("edit%1").arg(i), RowValue(FParams, SizingRows[i]));
        AY += px(RowStep);
    }

    addLabel(QStringLiteral("Forfait de courtage"), AY);
    FPlan->setGeometry(px(12) + AColumn, AY, FFieldWidth, px(RowHeight));
    FPlan->setCurrentIndex(static_cast<int>(FParams.FeePlan));
    AY += px(RowStep);

    FPEA = addCheck(QStringLiteral("pea"),
                    QStringLiteral("PEA (courtage plafonne a 0,5 % de l'ordre)"), FParams.IsPEA);
    AY += px(RowStep);

    addLabel(QStringLiteral("TTF a l'achat (%)"), AY);
    FTTF = addEdit(QStringLiteral("ttf"), FParams.TTFPct);
    AY += px(RowStep);

    FPhase = addCheck(QStringLiteral("phase"),
                      QStringLiteral("Retenir les signaux seulement en phase favorable du CAC 40"),
                      FParams.OnlyFavorablePhase);
    FPhase->setToolTip(QStringLiteral(
        "Indice survendu (RSI < 40) ou a plus de 8 % sous son plus haut annuel. Les autres "
        "signaux restent affiches mais ne sont pas retenus."));
    AY += px(RowStep);

    FPreview = new QLabel(this);
    FPreview->setObjectName(QStringLiteral("preview"));
    FPreview->setWordWrap(true);
    FPreview->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    FPreview->setGeometry(px(12), AY + px(4), AColumn + FFieldWidth, px(80));
}

QString TSizingSettingsForm::PreviewText() const {
    return FPreview->text();
}

bool TSizingSettingsForm::ReadParams(TSizingParams& AParams, QString& AError) const {
    AError.clear();
    double ttf = 0;
    if (!ParseNumber(FTTF->text(), ttf)) {
        AError = QStringLiteral("TTF : nombre attendu");
        return false;
    }
    std::array<double, EditCount> values{};
    for (int i = 0; i < EditCount; ++i) {
        if (!ParseNumber(FEdits[i]->text(), values[i])) {
            AError = QString::fromLatin1(SizingRows[i].Label) + QStringLiteral(" : nombre attendu");
            return false;
        }
    }
    // Fields the dialog does not show (the lot size) keep the values it was given.
    TSizingParams params = FParams;
    for (int i = 0; i < EditCount; ++i) {
        SetRowValue(params, SizingRows[i], values[i]);
    }
    params.FeePlan = static_cast<TFeePlan>(std::max(0, FPlan->currentIndex()));
    params.IsPEA = FPEA->isChecked();
    params.TTFPct = ttf;
    params.OnlyFavorablePhase = FPhase->isChecked();
    try {
        params.Validate();
    } catch (const EFinanceError& e) {
        AError = ToQ(e.Message());
        return false;
    }
    if (params.Capital > MaxCapital) {
        AError = QStringLiteral("Capital trop eleve : 1 000 000 000 EUR au plus");
        return false;
    }
    AParams = params;
    return true;
}

void TSizingSettingsForm::UpdatePreview() {
    TSizingParams params;
    QString error;
    if (!ReadParams(params, error)) {
        FPreview->setText(error);
        FitPreview();
        return;
    }
    try {
        // BN.PA is subject to the financial transaction tax, so the example shows it.
        const TPositionSize size = ComputePositionSize(params, 100, 95, "BN.PA");
        FPreview->setText(ToQ(
            "Exemple, titre soumis a la TTF, entree 100 EUR et stop 95 EUR : " + size.Describe() +
            Format(" Frais aller-retour : %s EUR.",
                   FormatFloat("0.00", size.Fees, FrenchFormatSettings()))));
    } catch (const EFinanceError& e) {
        FPreview->setText(ToQ(e.Message()));
    }
    FitPreview();
}

void TSizingSettingsForm::SaveClick() {
    TSizingParams params;
    QString error;
    if (!ReadParams(params, error)) {
        ShowMessage(this, TMessageKind::mkWarning, error);
        return;
    }
    FParams = params;
    accept();
}

}  // namespace cotalys
