#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStringList>

#include "MainFormFixture.h"

namespace cotalys::test {
namespace {

class FrontEndsTest : public TMainFormFixture {
protected:
    // The lines the window logged since ASkip lines, without their time stamps.
    QStringList WindowLines(int ASkip) {
        QStringList lines = Form().LogText().split(QLatin1Char('\n')).mid(ASkip);
        static const QRegularExpression stamp(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d  "));
        for (QString& line : lines) {
            line.remove(stamp);
        }
        return lines;
    }

    // The lines `cotalys analyse` writes for the same request, as of the window's day.
    static QStringList CommandLineLines(const std::vector<std::string>& AArgs) {
        QStringList arguments = {QStringLiteral("analyse"), QStringLiteral("--as-of"),
                                 QStringLiteral("2021-02-22"), QStringLiteral("--quote-host"),
                                 QString::fromStdString(QuoteHost())};
        for (const std::string& arg : AArgs) {
            arguments << QString::fromStdString(arg);
        }
        // A store of its own, empty as the window's was before its load.
        const TempDir store;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("COTALYS_CACHE_DIR"),
                           QString::fromStdString(store.Path().string()));
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(COTALYS_EXECUTABLE), arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
        QStringList lines =
            QString::fromUtf8(process.readAllStandardOutput()).split(QStringLiteral("\r\n"));
        // Every line ends with a break, the last one too.
        if (!lines.isEmpty() && lines.constLast().isEmpty()) {
            lines.removeLast();
        }
        return lines;
    }
};

struct TFrontEndCase {
    const char* Symbol;
    int Source;  // position in the window's list
    const char* SourceName;
    bool LocalFile;  // the bundled history as a local file
};

TEST_F(FrontEndsTest, WindowAndCommandLineLogTheSameReview) {
    StartQuoteService();
    const TFrontEndCase cases[] = {
        {"AI.PA", 0, "yahoo", false},
        {"RNO.PA", 2, "file", true},
        {"KER.PA", 0, "yahoo", false},  // a recent signal, sized
    };
    for (const TFrontEndCase& c : cases) {
        SCOPED_TRACE(c.Symbol);
        const std::string location =
            c.LocalFile ? DataPath("demo").string() + "/" + c.Symbol + ".csv" : "";
        const int before =
            Form().LogText().isEmpty() ? 0 : Form().LogText().count(QLatin1Char('\n')) + 1;
        Load(c.Symbol, c.Source, location);
        ASSERT_TRUE(Messages().empty());
        std::vector<std::string> args = {c.Symbol, "--source", c.SourceName};
        if (!location.empty()) {
            args.insert(args.end(), {"--location", location});
        }
        const QStringList window = WindowLines(before);
        const QStringList commandLine = CommandLineLines(args);
        ASSERT_GT(window.size(), 10);
        EXPECT_EQ(window.size(), commandLine.size());
        for (int i = 0; i < std::min(window.size(), commandLine.size()); ++i) {
            EXPECT_EQ(window[i].toStdString(), commandLine[i].toStdString()) << "line " << i;
        }
    }
}

TEST_F(FrontEndsTest, WithTheServiceDownTheWindowWorksOnTheStoredDays) {
    StartQuoteService();
    Load("AI.PA", 0);
    ASSERT_NE(Form().Series(), nullptr);
    FServer.reset();
    SetClock([] { return EncodeDate(2021, 2, 23) + 0.4; });
    const int before = Form().LogText().count(QLatin1Char('\n')) + 1;
    Load("AI.PA", 0);
    EXPECT_TRUE(Messages().empty());
    const QStringList lines = WindowLines(before);
    EXPECT_TRUE(lines.contains(
        QStringLiteral("Service de cotations injoignable : donnees en cache jusqu'au 22/02/2021")))
        << lines.join(QLatin1Char('\n')).toStdString();
    ASSERT_NE(Form().Series(), nullptr);
    EXPECT_EQ(Form().Series()->Last().Date, EncodeDate(2021, 2, 22));
}

}  // namespace
}  // namespace cotalys::test
