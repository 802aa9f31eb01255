
#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QDialog>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSettings>
#include <QSplitter>
#include <QTest>
#include <QTextBlock>
#include <QThreadPool>
#include <QTranslator>

#include "chart/ChartView.h"
#include "ui/FocusMark.h"
#include "ui/MainFormFixture.h"
#include "ui/QtTexts.h"
#include "ui/WindowState.h"

namespace cotalys {
namespace {

using test::DataPath;
using test::OnNextModal;
using test::ReadAll;
using test::TMainFormFixture;
using test::WaitFor;

class DesktopWindowTest : public TMainFormFixture {
protected:
    int LoadCount() { return Form().LogText().count("  Chargement "); }

    // The widget of the window that has the keyboard focus, or the control holding it.
    static bool HasFocus(QWidget* AControl) {
        QWidget* focus = QApplication::focusWidget();
        return focus != nullptr && (focus == AControl || AControl->isAncestorOf(focus));
    }

    void SetEndDate(int AYear, int AMonth, int ADay) {
        Child<QDateEdit>("endDate")->setDate(QDate(AYear, AMonth, ADay));
    }
};

TEST_F(DesktopWindowTest, AfterALoadTheNextSymbolTypedGoesIntoTheSymbolBox) {
    StartQuoteService();
    Activate();
    auto* symbol = Child<QLineEdit>("symbol");
    symbol->setFocus();
    QTest::keyClick(symbol, Qt::Key_Return);
    ASSERT_TRUE(Form().Loading());
    WaitIdle();
    ASSERT_NE(Form().Series(), nullptr);
    EXPECT_TRUE(HasFocus(symbol));
    EXPECT_EQ(symbol->selectedText(), "RNO.PA");
    EXPECT_EQ(Form().windowTitle(), "RNO.PA - Cotalys");

    QTest::keyClicks(QApplication::focusWidget(), "ai.pa");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(Child<QLineEdit>("location")->text(), "");
    WaitIdle();
    ASSERT_NE(Form().Series(), nullptr);
    EXPECT_EQ(Form().Series()->Symbol(), "AI.PA");
    EXPECT_EQ(Form().windowTitle(), "AI.PA - Cotalys");
}

TEST_F(DesktopWindowTest, EnterAndSpaceActivateTheFocusedButtonEnterElsewhereLoads) {
    StartQuoteService();
    Activate();
    auto* sizing = Child<QPushButton>("sizing");
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
        bool opened = false;
        OnNextModal([&](QWidget* ADialog) {
            opened = true;
            static_cast<QDialog*>(ADialog)->reject();
        });
        sizing->setFocus();
        QTest::keyClick(sizing, key);
        EXPECT_TRUE(opened) << key;
    }
    EXPECT_EQ(LoadCount(), 0);

    // The log keeps Enter; the location box and the period list load.
    Form().LogBox()->setFocus();
    QTest::keyClick(Form().LogBox(), Qt::Key_Return);
    EXPECT_EQ(LoadCount(), 0);
    for (const char* name : {"location", "years"}) {
        QWidget* control = Child<QWidget>(name);
        control->setFocus();
        QTest::keyClick(control, Qt::Key_Return);
        WaitIdle();
    }
    EXPECT_EQ(LoadCount(), 2);
}

TEST_F(DesktopWindowTest, TabFollowsTheScreenOrderAndTheChartShowsItsFocus) {
    Activate();
    auto* symbol = Child<QLineEdit>("symbol");
    symbol->setFocus();
    // "..." and the export button are disabled at start, so Tab passes them.
    const std::vector<QWidget*> order = {Child<QWidget>("endDate"),
                                         Child<QWidget>("source"),
                                         Child<QWidget>("location"),
                                         Child<QWidget>("load"),
                                         Child<QWidget>("scan"),
                                         Child<QWidget>("sizing"),
                                         Child<QWidget>("backtest"),
                                         Child<QWidget>("years"),
                                         Form().Chart(),
                                         Form().LogBox()};
    auto* mark = Form().Chart()->findChild<TFocusMark*>();
    ASSERT_NE(mark, nullptr);
    QWidget* current = symbol;
    for (QWidget* next : order) {
        // Tab first moves between the day, the month and the year of the date box.
        for (int press = 0; press < 3 && HasFocus(current); ++press) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        current = next;
        EXPECT_TRUE(HasFocus(next)) << next->objectName().toStdString() << " expected, "
                                    << QApplication::focusWidget()->metaObject()->className();
        EXPECT_EQ(mark->isVisible(), next == Form().Chart());
    }
}

TEST_F(DesktopWindowTest, TheLogShowsTheStartOfTheNewReviewAndMovesWithTheKeyboard) {
    StartQuoteService();
    Activate();
    Load("AI.PA", 0);
    Load("BN.PA", 0);
    QPlainTextEdit* log = Form().LogBox();
    const QString top = log->cursorForPosition(QPoint(4, 4)).block().text();
    EXPECT_TRUE(top.contains("  BN.PA au 22/02/2021 : cloture ")) << top.toStdString();
    QScrollBar* bar = log->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    EXPECT_LT(bar->value(), bar->maximum());

    log->setFocus();
    QTest::keyClick(log, Qt::Key_End, Qt::ControlModifier);
    EXPECT_TRUE(log->textCursor().atEnd());
    EXPECT_TRUE(log->viewport()->rect().contains(log->cursorRect()));
    QTest::keyClick(log, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(bar->value(), 0);
}

TEST_F(DesktopWindowTest, MenusReachEveryActionWithMnemonicsAndShortcuts) {
    struct TEntry {
        const char* Menu;
        const char* Action;
        const char* Shortcut;
    };
    const TEntry entries[] = {
        {"&Fichier", "&Ouvrir un fichier de cours...", "Ctrl+O"},
        {"&Fichier", "&Exporter le graphique en PNG...", "Ctrl+E"},
        {"&Fichier", "&Quitter", "Ctrl+Q"},
        {"&Analyse", "&Charger", "F5"},
        {"&Analyse", "&Backtest CAC 40", ""},
        {"&Analyse", "&Scanner du jour", ""},
        {"&Analyse", "A&rreter", "Esc"},
        {"&Reglages", "&Taille de position...", ""},
        {"Ai&de", "&A propos de Cotalys", ""},
    };
    // Narrower than the top strip: the strip overflows, the menu bar stays whole.
    Form().resize(420, 600);
    Activate();
    QMenuBar* bar = Form().menuBar();
    EXPECT_TRUE(bar->isVisible());
    for (const TEntry& entry : entries) {
        QAction* found = nullptr;
        for (QAction* menu : bar->actions()) {
            if (menu->text() == entry.Menu) {
                for (QAction* action : menu->menu()->actions()) {
                    if (action->text() == entry.Action) {
                        found = action;
                    }
                }
            }
        }
        ASSERT_NE(found, nullptr) << entry.Action;
        EXPECT_EQ(found->shortcut().toString(), entry.Shortcut) << entry.Action;
    }
    // Nothing runs, so Escape is left to the controls; F5 loads.
    EXPECT_FALSE(Form().StopAction()->isEnabled());
    StartQuoteService();
    QTest::keyClick(&Form(), Qt::Key_F5);
    EXPECT_EQ(LoadCount(), 1);
    EXPECT_FALSE(Form().LoadAction()->isEnabled());
    WaitIdle();
    EXPECT_TRUE(Form().LoadAction()->isEnabled());

    Form().AboutClick();
    ASSERT_FALSE(Messages().empty());
    EXPECT_EQ(Messages().back().Kind, TMessageKind::mkAbout);
    EXPECT_TRUE(Messages().back().Text.contains(QStringLiteral("Qt %1 (LGPL v3)").arg(qVersion())));

    QTest::keyClick(&Form(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(Form().isVisible());
}

TEST_F(DesktopWindowTest, AltFOpensTheFileMenu) {
    Activate();
    // Alt+F opens the file menu.
    QTest::keyClick(&Form(), Qt::Key_F, Qt::AltModifier);
    ASSERT_TRUE(WaitFor([]() { return QApplication::activePopupWidget() != nullptr; }, 5000));
    auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->title(), "&Fichier");
    popup->close();
}

TEST_F(DesktopWindowTest, StopEndsALoadThatTheServerHoldsAndTheWindowCanClose) {
    test::SilentService service;
    SetQuoteHost(service.Url());
    Activate();
    Form().LoadClick();
    auto* load = Child<QPushButton>("load");
    ASSERT_TRUE(Form().Busy());
    EXPECT_EQ(load->text(), "Arreter");
    EXPECT_TRUE(load->isEnabled());
    EXPECT_TRUE(Form().StopAction()->isEnabled());
    // Enter while loading neither reloads nor stops.
    QTest::keyClick(Child<QLineEdit>("location"), Qt::Key_Return);
    EXPECT_TRUE(Form().Busy());
    EXPECT_EQ(LoadCount(), 1);

    QTest::keyClick(&Form(), Qt::Key_Escape);
    EXPECT_FALSE(Form().Busy());
    EXPECT_EQ(Form().StatusText(), "Chargement interrompu");
    EXPECT_TRUE(Form().LogText().endsWith("  Chargement interrompu"));
    EXPECT_EQ(load->text(), "Charger 1 an");
    EXPECT_TRUE(Child<QLineEdit>("symbol")->isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // The answer that comes late changes nothing.
    service.Close();
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::processEvents();
    EXPECT_TRUE(Form().LogText().endsWith("  Chargement interrompu"));
    EXPECT_TRUE(Messages().empty());
    EXPECT_TRUE(Form().close());
}

TEST_F(DesktopWindowTest, EndDateBoundsTheLoadAsOfAPastDay) {
    StartQuoteService();
    auto* end = Child<QDateEdit>("endDate");
    EXPECT_EQ(end->date(), QDate(2021, 2, 22));
    EXPECT_EQ(end->maximumDate(), QDate(2021, 2, 22));
    SetEndDate(2021, 1, 15);
    Load("AI.PA", 2, DataPath("demo/AI.PA.csv").string());
    ASSERT_TRUE(Messages().empty());
    EXPECT_GE(Form().LogText().indexOf(
                  "  Chargement AI.PA via Fichier AI.PA.csv (15/10/2019 -> 15/01/2021)"),
              0);
    ASSERT_NE(Form().Series(), nullptr);
    EXPECT_EQ(Form().Series()->Last().Date, EncodeDate(2021, 1, 15));
}

struct THintCase {
    const char* Name;
    int Source;
    const char* Symbol;
    std::string Content;  // the local file, or empty for the quote service
    const char* Hint;
};

TEST_F(DesktopWindowTest, ErrorBoxesSayWhatToDoOnASecondLine) {
    // The file's last session, 1 March 2019, is before the range of a load as of 22/02/2021.
    const std::string early = "Date,Close\n2019-02-28,10\n2019-03-01,11\n";
    const THintCase cases[] = {
        {"unknown symbol", 0, "RNO", "",
         "Les valeurs de Paris se terminent par .PA, par exemple RNO.PA"},
        {"unrecognised header", 2, "AI.PA", "Jour;Cours moyen\n01/02/2021;10\n",
         "Colonnes reconnues : une date (Date, Jour, Seance) et une cloture (Cloture, Close, "
         "Dernier, Fermeture, Cours, Last ou Adj Close), puis en option Ouverture (Open), Plus "
         "haut (High), Plus bas (Low) et Volume"},
        {"file ending early", 2, "AI.PA", early,
         "Le fichier s'arrete le 01/03/2019 : choisir cette date de fin"},
        {"service down", 0, "AI.PA", "",
         "Verifier la connexion ou l'hote du service de cotations (COTALYS_QUOTE_HOST)"},
    };
    StartQuoteService();
    for (const THintCase& c : cases) {
        SCOPED_TRACE(c.Name);
        if (std::string(c.Name) == "service down") {
            FServer.reset();
        }
        const std::string file =
            c.Content.empty() ? "" : FFiles.Write("cours.csv", c.Content).string();
        const std::size_t shown = Messages().size();
        Load(c.Symbol, c.Source, file);
        ASSERT_EQ(Messages().size(), shown + 1);
        const QStringList lines = Messages().back().Text.split('\n');
        ASSERT_EQ(lines.size(), 2);
        // The log keeps the error alone.
        EXPECT_TRUE(Form().LogText().endsWith("  " + lines[0])) << lines[0].toStdString();
        EXPECT_EQ(lines[1].toStdString(), c.Hint);
    }
}

TEST_F(DesktopWindowTest, TheWindowRemembersItsPlaceAndLastRequestInItsStateFile) {
    Form().resize(900, 640);
    Child<QLineEdit>("symbol")->setText("KER.PA");
    Child<QComboBox>("source")->setCurrentIndex(2);
    Child<QLineEdit>("location")->setText("/donnees/KER.PA.csv");
    Form().findChild<QSplitter*>()->setSizes({300, 260});
    ASSERT_TRUE(Form().close());
    FForm.reset();

    const QString file = WindowStateFile();
    EXPECT_EQ(file, QString::fromStdString((FState.Path() / "cotalys/window.ini").string()));
    EXPECT_TRUE(QFile::exists(file));
    EXPECT_FALSE(std::filesystem::exists(TSizingParams::IniFileName()));

    EXPECT_EQ(Form().size(), QSize(900, 640));
    EXPECT_EQ(Child<QLineEdit>("symbol")->text(), "KER.PA");
    EXPECT_EQ(Child<QComboBox>("source")->currentIndex(), 2);
    EXPECT_TRUE(Child<QPushButton>("browse")->isEnabled());
    EXPECT_EQ(Child<QLineEdit>("location")->text(), "/donnees/KER.PA.csv");
    EXPECT_EQ(Form().findChild<QSplitter*>()->sizes().value(1), 260);
}

TEST_F(DesktopWindowTest, StateFileFollowsXdgStateHome) {
    setenv("XDG_STATE_HOME", "relatif", 1);
    EXPECT_EQ(WindowStateFile(), QDir::homePath() + "/.local/state/cotalys/window.ini");
    unsetenv("XDG_STATE_HOME");
    EXPECT_EQ(WindowStateFile(), QDir::homePath() + "/.local/state/cotalys/window.ini");
    setenv("XDG_STATE_HOME", "/var/etat", 1);
    EXPECT_EQ(WindowStateFile(), "/var/etat/cotalys/window.ini");
}

TEST(DesktopProgramTest, QtTextsAreFrenchAndTheIconIsDrawn) {
    QObject owner;
    QTranslator* translator = InstallFrenchQtTexts(&owner);
    ASSERT_NE(translator, nullptr) << "qtbase_fr.qm missing: install qt6-translations-l10n";
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Annuler");
    QCoreApplication::removeTranslator(translator);

    const QIcon icon(QStringLiteral(":/icons/cotalys.svg"));
    EXPECT_FALSE(icon.pixmap(32, 32).isNull());
}

}  // namespace
}  // namespace cotalys
