#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QProgressBar>
#include <QTest>

#include "chart/ChartView.h"
#include "ui/MainFormFixture.h"
#include "ui/TopStripLayout.h"

namespace cotalys {
namespace {

using test::DataPath;
using test::OnNextModal;
using test::ReadAll;
using test::TMainFormFixture;
using test::WaitFor;

// Position in the log of the first line holding AText after AFrom; -1 when none.
qsizetype Find(const QString& ALog, const QString& AText, qsizetype AFrom = 0) {
    return ALog.indexOf(AText, AFrom);
}

// The first AMonthsBack-month-old bars of a demo history as a CSV of ACount sessions.
std::string DemoCsv(int ASkipFromEnd, int ACount) {
    const QStringList lines =
        QString::fromStdString(ReadAll(DataPath("demo/AI.PA.csv"))).split('\n', Qt::SkipEmptyParts);
    const qsizetype last = lines.size() - ASkipFromEnd;
    return (QStringList{lines.front()} + lines.mid(last - ACount, ACount)).join('\n').toStdString();
}

using MainFormTest = TMainFormFixture;

TEST_F(MainFormTest, ControlsCarryTheirCaptionsAndTooltips) {
    TMainForm& form = Form();
    EXPECT_EQ(form.windowTitle(), "Analyse technique - MACD / RSI / Volumes");
    EXPECT_EQ(Child<QLineEdit>("symbol")->text(), "RNO.PA");
    auto* source = Child<QComboBox>("source");
    ASSERT_EQ(source->count(), 3);
    EXPECT_EQ(source->itemText(0), "Yahoo Finance (JSON)");
    EXPECT_EQ(source->itemText(2), "Fichier local");
    EXPECT_EQ(source->currentIndex(), 0);
    auto* years = Child<QComboBox>("years");
    EXPECT_EQ(years->currentText(), "3 ans");
    ASSERT_EQ(years->count(), 5);
    EXPECT_EQ(years->itemText(4), "10 ans");
    EXPECT_EQ(years->toolTip(), "Periode du backtest");
    EXPECT_EQ(Child<QPushButton>("load")->text(), "Charger 1 an");
    EXPECT_FALSE(Child<QPushButton>("export")->isEnabled());
    EXPECT_EQ(Child<QPushButton>("scan")->toolTip(),
              "Signaux et titres proches d'un support aujourd'hui sur le CAC 40");
    EXPECT_EQ(Child<QPushButton>("sizing")->text(), "Taille...");

    // The browse button and the hint follow the source; typed text stays.
    auto* location = Child<QLineEdit>("location");
    auto* browse = Child<QPushButton>("browse");
    location->setText("gardé");
    const std::pair<int, const char*> hints[] = {
        {2, "Chemin du fichier .csv, .htm ou .json"},
        {1, "URL de la page historique, ex. https://.../{SYMBOL}/historique"},
        {0, "URL de secours (optionnelle) avec {SYMBOL}, {FROM}, {TO}"}};
    for (const auto& [index, hint] : hints) {
        source->setCurrentIndex(index);
        EXPECT_EQ(location->placeholderText(), hint);
        EXPECT_EQ(browse->isEnabled(), index == 2);
        EXPECT_EQ(location->text(), "gardé");
    }
}

TEST_F(MainFormTest, TopStripGivesTheSpareWidthToTheLocationBox) {
    TMainForm& form = Form();
    const QFontMetrics metrics(form.font());
    for (const int width : {1800, 500}) {
        form.resize(width, 700);
        ASSERT_TRUE(WaitFor([&]() { return form.TopPanel()->width() == width; }));
        const TTopStripLayout layout = LayoutTopStrip(metrics, width);
        const QRect location = Child<QLineEdit>("location")->geometry();
        EXPECT_EQ(location.width(), layout.Slot(TStripItem::siLocation).Width);
        EXPECT_EQ(form.TopPanel()->height(), layout.StripHeight);
        const QRect years = Child<QComboBox>("years")->geometry();
        if (width == 1800) {
            EXPECT_EQ(years.right() + 1, width - layout.Gap);
        } else {
            EXPECT_EQ(location.width(), 12 * metrics.horizontalAdvance('W'));
            EXPECT_GT(years.right(), width);
        }
        // On screen: symbol, end date, source, location, "...", load, export, scanner, sizing,
        // backtest, period.
        EXPECT_LT(Child<QLineEdit>("symbol")->x(), Child<QWidget>("endDate")->x());
        EXPECT_LT(Child<QWidget>("endDate")->geometry().right(), Child<QComboBox>("source")->x());
        EXPECT_LT(Child<QPushButton>("export")->x(), Child<QPushButton>("scan")->x());
        EXPECT_LT(Child<QPushButton>("sizing")->x(), Child<QPushButton>("backtest")->x());
        EXPECT_LT(Child<QPushButton>("backtest")->x(), years.x());
        EXPECT_EQ(Child<QPushButton>("load")->height(), layout.ControlHeight);
    }
}

TEST_F(MainFormTest, LargerFontGivesATallerStripAndWiderButtons) {
    QFont small(QStringLiteral("Segoe UI"), 9);
    QFont large(QStringLiteral("Segoe UI"), 14);
    const TTopStripLayout before = LayoutTopStrip(QFontMetrics(small), 1280);
    const TTopStripLayout after = LayoutTopStrip(QFontMetrics(large), 1280);
    EXPECT_GT(after.StripHeight, before.StripHeight);
    EXPECT_EQ(after.StripHeight, after.ControlHeight + 2 * after.Gap);
    EXPECT_GT(after.Slot(TStripItem::siLoad).Width, before.Slot(TStripItem::siLoad).Width);
    EXPECT_GE(before.Gap, 4);
}

TEST_F(MainFormTest, IncompleteSourceIsRefusedWithAWarning) {
    const std::pair<int, const char*> cases[] = {{1, "Indiquer l'URL de la page HTML"},
                                                 {2, "Choisir un fichier local"},
                                                 {-1, "Source inconnue"}};
    for (const auto& [source, message] : cases) {
        const std::size_t shown = Messages().size();
        Child<QComboBox>("source")->setCurrentIndex(source);
        Child<QLineEdit>("location")->setText("   ");
        QTest::keyClick(Child<QLineEdit>("symbol"), Qt::Key_Return);
        EXPECT_FALSE(Form().Busy());
        ASSERT_EQ(Messages().size(), shown + 1);
        EXPECT_EQ(Messages().back().Kind, TMessageKind::mkWarning);
        EXPECT_EQ(Messages().back().Text, message);
        EXPECT_TRUE(Form().LogText().endsWith(QStringLiteral("  Configuration : ") + message));
    }
    EXPECT_EQ(Form().Series(), nullptr);
}

TEST_F(MainFormTest, LocalFileLoadLogsTheWholeReviewInOrder) {
    StartQuoteService();
    const std::string file = DataPath("demo/AI.PA.csv").string();
    Load(" ai.pa ", 2, file);
    ASSERT_TRUE(Messages().empty()) << Messages().front().Text.toStdString();
    ASSERT_NE(Form().Series(), nullptr);
    EXPECT_NE(Form().Market(), nullptr);
    EXPECT_TRUE(Child<QPushButton>("export")->isEnabled());

    const QString log = Form().LogText();
    const qsizetype request =
        Find(log, "  Chargement AI.PA via Fichier AI.PA.csv (22/11/2019 -> 22/02/2021)");
    const qsizetype details = Find(log, "[", request);
    const qsizetype filter = Find(log, " => criteres techniques ", details);
    const qsizetype variants = Find(log, "\n", filter);
    EXPECT_GE(request, 0);
    EXPECT_GT(details, request);
    EXPECT_GT(filter, details);
    EXPECT_GT(variants, filter);
    EXPECT_EQ(Find(log, "Indice ^FCHI"), -1);
    EXPECT_EQ(Find(log, "Note : historique plus court"), -1);
    EXPECT_TRUE(QRegularExpression("^\\d\\d:\\d\\d:\\d\\d  Chargement").match(log).hasMatch());

    const TPriceSeries& series = *Form().Series();
    const int first = Form().Chart()->Scene().First;
    EXPECT_EQ(series.GetBar(first).Date, EncodeDate(2020, 2, 24));
    EXPECT_EQ(Form().StatusText(),
              QString("AI.PA : %1 seances affichees (%2 chargees), du 24/02/2020 au 22/02/2021")
                  .arg(series.Count() - first)
                  .arg(series.Count()));
    EXPECT_EQ(Form().windowTitle(), "AI.PA - Cotalys");
}

TEST_F(MainFormTest, FailedLoadKeepsThePreviousChartAndClearsTheRegime) {
    StartQuoteService();
    Load("AI.PA", 0);
    const TPriceSeries* shown = Form().Series();
    ASSERT_NE(shown, nullptr);
    ASSERT_NE(Form().Market(), nullptr);

    Load("AI.PA", 2, (FFiles.Path() / "absent.csv").string());
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].Kind, TMessageKind::mkError);
    EXPECT_TRUE(Messages()[0].Text.startsWith("Erreur de source : "))
        << Messages()[0].Text.toStdString();
    EXPECT_TRUE(Form().LogText().endsWith(Messages()[0].Text));
    EXPECT_EQ(Form().StatusText(), "Echec du chargement");
    EXPECT_EQ(Form().Series(), shown);
    EXPECT_EQ(Form().Chart()->Scene().Series, shown);
    EXPECT_TRUE(Child<QPushButton>("export")->isEnabled());
    EXPECT_EQ(Form().Market(), nullptr);
}

TEST_F(MainFormTest, TooShortHistoryIsRefused) {
    StartQuoteService();
    const auto file = FFiles.Write("short.csv", DemoCsv(0, 59));
    Load("AI.PA", 2, file.string());
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].Kind, TMessageKind::mkError);
    EXPECT_EQ(Messages()[0].Text, "Historique trop court : 59 seances (minimum 60)");
    EXPECT_TRUE(Form().LogText().endsWith(
        "  Calcul des indicateurs : Historique trop court : 59 seances (minimum 60)"));
    EXPECT_EQ(Form().StatusText(), "Echec du calcul");
    EXPECT_EQ(Form().Series(), nullptr);
}

TEST_F(MainFormTest, ShortHistoryGetsTheWarmUpNote) {
    StartQuoteService();
    const auto file = FFiles.Write("recent.csv", DemoCsv(0, 150));
    Load("AI.PA", 2, file.string());
    ASSERT_TRUE(Messages().empty());
    EXPECT_GE(Find(Form().LogText(),
                   "  Note : historique plus court que la marge de chauffe, les "
                   "premieres valeurs MACD sont moins fiables"),
              0);
    EXPECT_TRUE(Form().StatusText().startsWith("AI.PA : 150 seances affichees (150 chargees)"))
        << Form().StatusText().toStdString();
}

TEST_F(MainFormTest, IndexUnavailableIsNotedBeforeTheAnalysis) {
    // A service that knows the symbol but not the index.
    test::TempDir folder;
    folder.Write("AI.PA.csv", ReadAll(DataPath("demo/AI.PA.csv")));
    StartQuoteService(folder.Path());
    Load("AI.PA", 0);
    ASSERT_TRUE(Messages().empty());
    EXPECT_EQ(Form().Market(), nullptr);
    const QString log = Form().LogText();
    const qsizetype note = Find(log, "  Indice ^FCHI indisponible, filtre de marche ignore : ");
    EXPECT_GT(note, Find(log, "  Chargement AI.PA via Yahoo Finance (JSON)"));
    EXPECT_LT(note, Find(log, " => criteres techniques "));
}

TEST_F(MainFormTest, FallbackPageIsChainedAfterTheQuoteService) {
    StartQuoteService();
    Load("AI.PA", 0, "http://127.0.0.1:1/{SYMBOL}");
    ASSERT_TRUE(Messages().empty());
    EXPECT_GE(Find(Form().LogText(), "  Chargement AI.PA via Chaine de 2 fournisseur(s) ("), 0);
    ASSERT_NE(Form().Series(), nullptr);
    EXPECT_EQ(Form().Series()->Symbol(), "AI.PA");
}

TEST_F(MainFormTest, BusyWindowIgnoresLoadsAndRefusesToClose) {
    StartQuoteService();
    Child<QComboBox>("source")->setCurrentIndex(0);
    Form().LoadClick();
    ASSERT_TRUE(Form().Busy());
    EXPECT_EQ(Form().StatusText(), "Chargement en cours...");
    // The load button is the stop button while the load runs.
    EXPECT_EQ(Child<QPushButton>("load")->text(), "Arreter");
    EXPECT_FALSE(Child<QLineEdit>("symbol")->isEnabled());
    EXPECT_FALSE(Child<QWidget>("endDate")->isEnabled());
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::BusyCursor);

    Form().LoadClick();
    QTest::keyClick(Child<QLineEdit>("location"), Qt::Key_Return);
    EXPECT_EQ(Form().LogText().count("Chargement RNO.PA"), 1);

    Form().OpenSymbol("AI.PA");
    EXPECT_EQ(Form().StatusText(), "Chargement en cours, reessayer dans un instant");
    EXPECT_EQ(Child<QLineEdit>("symbol")->text(), "RNO.PA");

    EXPECT_FALSE(Form().close());
    EXPECT_TRUE(Form().isVisible());
    EXPECT_EQ(Form().StatusText(), "Chargement en cours : fermeture differee");

    WaitIdle();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(Form().Series()->Symbol(), "RNO.PA");
    EXPECT_TRUE(Form().close());
}

TEST_F(MainFormTest, ExportProposesSymbolAndDate) {
    StartQuoteService();
    Load("AI.PA", 0);
    const auto target = FFiles.Path() / "chart.png";
    QString proposed;
    test::OnNextFileDialog(target, proposed);
    Form().ExportClick();
    EXPECT_TRUE(proposed.endsWith("/AI.PA_20210222.png")) << proposed.toStdString();
    EXPECT_TRUE(std::filesystem::exists(target));
    EXPECT_TRUE(Form().LogText().endsWith(
        QString::fromStdString("  Graphique exporte : " + target.string())));
}

TEST_F(MainFormTest, SizingIsSavedOnlyWhenConfirmed) {
    const auto ini = TSizingParams::IniFileName();
    OnNextModal([](QWidget* ADialog) { QTest::keyClick(ADialog, Qt::Key_Escape); });
    Form().SizingClick();
    EXPECT_FALSE(std::filesystem::exists(ini));
    EXPECT_EQ(Find(Form().LogText(), "Reglages"), -1);

    OnNextModal([](QWidget* ADialog) {
        ADialog->findChild<QLineEdit*>("edit0")->setText("50 000");
        ADialog->findChild<QPushButton*>("save")->click();
    });
    Form().SizingClick();
    EXPECT_EQ(Form().Sizing().Capital, 50000);
    EXPECT_TRUE(std::filesystem::exists(ini));
    EXPECT_TRUE(Form().LogText().endsWith(
        QString::fromStdString("  Reglages de taille enregistres : " + Form().Sizing().Summary())));
    TSizingParams reloaded;
    reloaded.LoadFromIni(ini);
    EXPECT_EQ(reloaded, Form().Sizing());
}

TEST_F(MainFormTest, SizingSaveFailureKeepsTheSettings) {
    // The documents folder is a plain file, so the settings folder cannot be made.
    const auto blocked = FFiles.Write("documents", "x");
    setenv("COTALYS_DOCUMENTS_DIR", blocked.c_str(), 1);
    const TSizingParams before = Form().Sizing();
    OnNextModal([](QWidget* ADialog) {
        ADialog->findChild<QLineEdit*>("edit0")->setText("50 000");
        ADialog->findChild<QPushButton*>("save")->click();
    });
    Form().SizingClick();
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].Kind, TMessageKind::mkError);
    EXPECT_TRUE(Messages()[0].Text.startsWith("Enregistrement impossible : "));
    EXPECT_EQ(Form().Sizing(), before);
}

}  // namespace
}  // namespace cotalys
