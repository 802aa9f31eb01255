#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <limits>

#include "sizing/PositionSizing.h"
#include "ui/NumberText.h"
#include "ui/SizingSettingsForm.h"
#include "ui/UiTestSupport.h"

namespace cotalys {
namespace {

using test::OnNextModal;
using test::TMessageRecorder;

struct TParseCase {
    const char* Text;
    bool Ok;
    double Value;
};

TEST(ParseNumberTest, AcceptsFrenchAndPlainWritingsOnly) {
    const TParseCase cases[] = {
        {"25 000", true, 25000},
        {"25000,00", true, 25000},
        {"25000.00", true, 25000},
        {"  12,5  ", true, 12.5},
        {"25\u00a0000", true, 25000},
        {"25\u202f000,5", true, 25000.5},
        {"-0,25", true, -0.25},
        {"25.000,00", false, 0},
        {"1,000,5", false, 0},
        {"", false, 0},
        {"   ", false, 0},
        {"abc", false, 0},
        {"12 EUR", false, 0},
        {"inf", false, 0},
        {"nan", false, 0},
        {"1e400", false, 0},
    };
    for (const TParseCase& c : cases) {
        double value = -1;
        EXPECT_EQ(ParseNumber(QString::fromUtf8(c.Text), value), c.Ok) << c.Text;
        if (c.Ok) {
            EXPECT_DOUBLE_EQ(value, c.Value) << c.Text;
        } else {
            EXPECT_EQ(value, -1) << "value untouched for " << c.Text;
        }
    }
}

TEST(ParseNumberTest, WholeNumbersRoundHalfToEvenAndStayInRange) {
    EXPECT_EQ(RoundToInt32(2.5), 2);
    EXPECT_EQ(RoundToInt32(3.5), 4);
    EXPECT_EQ(RoundToInt32(2.4), 2);
    EXPECT_EQ(RoundToInt32(-0.5), 0);
    EXPECT_EQ(RoundToInt32(1e20), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(RoundToInt32(-1e20), std::numeric_limits<std::int32_t>::min());
}

QLineEdit* Edit(const QWidget& ADialog, const QString& AName) {
    auto* edit = ADialog.findChild<QLineEdit*>(AName);
    EXPECT_NE(edit, nullptr) << AName.toStdString();
    return edit;
}

QLineEdit* Row(const QWidget& ADialog, int AIndex) {
    return Edit(ADialog, QStringLiteral("edit%1").arg(AIndex));
}

void ClickSave(QWidget& ADialog) {
    ADialog.findChild<QPushButton*>(QStringLiteral("save"))->click();
}

TEST(SizingSettingsFormTest, ShowsTheSettingsWithAtMostThreeDecimals) {
    TSizingParams params = TSizingParams::Default();
    params.SlippageFactor = 1.23456;
    params.TTFPct = 0.4;
    TSizingSettingsForm dialog(nullptr, params);
    EXPECT_EQ(dialog.windowTitle(), "Taille de position adaptee au risque");
    EXPECT_EQ(Row(dialog, 0)->text(), "100000");
    EXPECT_EQ(Row(dialog, 3)->text(), "1,235");
    EXPECT_EQ(Edit(dialog, "ttf")->text(), "0,4");
    EXPECT_TRUE(dialog.PreviewText().startsWith(
        "Exemple, titre soumis a la TTF, entree 100 EUR et stop 95 EUR : Taille de position : "));
    EXPECT_TRUE(dialog.PreviewText().endsWith(" EUR."));

    // Left unchanged, a value is stored as shown.
    ClickSave(dialog);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_DOUBLE_EQ(dialog.Params().SlippageFactor, 1.235);
}

struct TPreviewCase {
    const char* Field;
    const char* Text;
    const char* Expected;
};

TEST(SizingSettingsFormTest, PreviewReportsTheFirstFault) {
    const TPreviewCase cases[] = {
        {"edit0", "25.000,00", "Capital du portefeuille (EUR) : nombre attendu"},
        {"edit8", "deux", "Positions deja ouvertes : nombre attendu"},
        {"ttf", "", "TTF : nombre attendu"},
        {"edit0", "0", "Capital strictement positif requis"},
        {"edit6", "60", "Nombre maximal de positions entre 1 et 50"},
        {"edit0", "1e300", "Capital trop eleve : 1 000 000 000 EUR au plus"},
        {"edit0", "1 000 000 001", "Capital trop eleve : 1 000 000 000 EUR au plus"},
    };
    for (const TPreviewCase& c : cases) {
        TSizingSettingsForm dialog(nullptr, TSizingParams::Default());
        Edit(dialog, c.Field)->setText(QString::fromUtf8(c.Text));
        EXPECT_EQ(dialog.PreviewText(), c.Expected) << c.Field << " = " << c.Text;
    }

    // The TTF box is read before the eleven rows, and the rows in order.
    TSizingSettingsForm dialog(nullptr, TSizingParams::Default());
    Row(dialog, 5)->setText("x");
    Row(dialog, 1)->setText("y");
    EXPECT_EQ(dialog.PreviewText(), "Risque par position (% du capital) : nombre attendu");
    Edit(dialog, "ttf")->setText("z");
    EXPECT_EQ(dialog.PreviewText(), "TTF : nombre attendu");
}

TEST(SizingSettingsFormTest, TextsAreShownWhole) {
    TSizingSettingsForm dialog(nullptr, TSizingParams::Default());
    auto* plan = dialog.findChild<QComboBox*>("plan");
    EXPECT_GE(plan->width(), plan->sizeHint().width());
    EXPECT_LE(plan->geometry().right(), dialog.width());

    // A large font wraps the example over more lines: the label grows, the buttons stay under it.
    dialog.setFont(QFont(QStringLiteral("Segoe UI"), 20));
    Row(dialog, 0)->setText("100 000");
    auto* preview = dialog.findChild<QLabel*>("preview");
    EXPECT_GE(preview->height(), preview->heightForWidth(preview->width()));
    EXPECT_GT(dialog.findChild<QPushButton*>("save")->y(), preview->geometry().bottom());
    EXPECT_LE(dialog.findChild<QPushButton*>("save")->geometry().bottom(), dialog.height());
}

TEST(SizingSettingsFormTest, SaveRefusesFaultyInputWithAWarningAndStaysOpen) {
    TMessageRecorder messages;
    TSizingSettingsForm dialog(nullptr, TSizingParams::Default());
    dialog.show();
    Row(dialog, 0)->setText("25.000,00");
    ClickSave(dialog);
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0].Kind, TMessageKind::mkWarning);
    EXPECT_EQ(messages.Messages()[0].Text, "Capital du portefeuille (EUR) : nombre attendu");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.Params(), TSizingParams::Default());
}

TEST(SizingSettingsFormTest, SaveReadsEveryField) {
    TSizingParams given = TSizingParams::Default();
    given.LotSize = 10;
    TSizingSettingsForm dialog(nullptr, given);
    Row(dialog, 0)->setText("25 000");
    Row(dialog, 1)->setText("0,5");
    Row(dialog, 6)->setText("2,5");
    Row(dialog, 8)->setText("3,5");
    Row(dialog, 10)->setText("1 000");
    Edit(dialog, "ttf")->setText("0,3");
    dialog.findChild<QComboBox*>("plan")->setCurrentIndex(2);
    dialog.findChild<QCheckBox*>("pea")->setChecked(true);
    dialog.findChild<QCheckBox*>("phase")->setChecked(true);
    ClickSave(dialog);
    ASSERT_EQ(dialog.result(), QDialog::Accepted);

    const TSizingParams& p = dialog.Params();
    EXPECT_EQ(p.Capital, 25000);
    EXPECT_EQ(p.RiskPct, 0.5);
    EXPECT_EQ(p.MaxPositions, 2);
    EXPECT_EQ(p.OpenPositions, 4);
    EXPECT_EQ(p.InvestedAmount, 1000);
    EXPECT_EQ(p.TTFPct, 0.3);
    EXPECT_EQ(p.FeePlan, TFeePlan::fpBoursoTrader);
    EXPECT_TRUE(p.IsPEA);
    EXPECT_TRUE(p.OnlyFavorablePhase);
    EXPECT_EQ(p.LotSize, 10);
}

TEST(SizingSettingsFormTest, NoPlanSelectedReadsTheCustomPlan) {
    TSizingParams given = TSizingParams::Default();
    given.FeePlan = TFeePlan::fpBoursoUltimate;
    TSizingSettingsForm dialog(nullptr, given);
    dialog.findChild<QComboBox*>("plan")->setCurrentIndex(-1);
    ClickSave(dialog);
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Params().FeePlan, TFeePlan::fpCustom);
}

TEST(SizingSettingsFormTest, ExecuteReturnsTheAcceptedSettingsOrLeavesThemAlone) {
    TSizingParams params = TSizingParams::Default();
    OnNextModal([](QWidget* ADialog) {
        Row(*ADialog, 0)->setText("123456,5");
        QTest::keyClick(ADialog, Qt::Key_Escape);
    });
    EXPECT_FALSE(TSizingSettingsForm::Execute(nullptr, params));
    EXPECT_EQ(params, TSizingParams::Default());

    OnNextModal([](QWidget* ADialog) {
        Row(*ADialog, 0)->setText("123456,5");
        QTest::keyClick(Row(*ADialog, 0), Qt::Key_Return);
    });
    EXPECT_TRUE(TSizingSettingsForm::Execute(nullptr, params));
    EXPECT_EQ(params.Capital, 123456.5);
}

}  // namespace
}  // namespace cotalys
