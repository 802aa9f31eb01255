#include "ui/ScannerResultsForm.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QFrame>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/MessageBox.h"
#include "ui/ResultsWindow.h"
#include "ui/ScanCells.h"
#include "ui/ScanRowsModel.h"
#include "ui/UiText.h"
#include "ui/WindowFont.h"

namespace cotalys {

namespace {

// Statut and Symbole stay in view when the grid scrolls right.
constexpr int FrozenColumns = 2;

QColor BannerColorOf(const TMarketContext& AMarket) {
    if (!AMarket.Valid) {
        return QColor(248, 224, 224);
    }
    return AMarket.IsFavorable() ? QColor(184, 232, 184) : QColor(228, 228, 228);
}

}  // namespace

TScannerResultsForm::TScannerResultsForm(QWidget* AOwner) : QWidget(AOwner, Qt::Window) {
    setWindowTitle(QStringLiteral("Scanner du jour - CAC 40"));
    ApplyWindowFont(this);
    int width = Scaled(this, 1600);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        width = std::min(screen->availableGeometry().width() - 40, width);
    }
    resize(width, 700);
    CentreOnOwner(this, AOwner);

    const TResultsLayout parts = BuildResultsLayout(this);
    FInfo = parts.Info;
    FOpenCsv = NewOpenCsvButton(
        this,
        QStringLiteral("Ouvre le detail du scanner avec l'application associee aux fichiers CSV"));
    connect(FOpenCsv, &QPushButton::clicked, this, [this] { OpenWithDesktop(this, FCsvFile); });
    FShowAll = new QCheckBox(QStringLiteral("Tous les titres"), this);
    FShowAll->setObjectName(QStringLiteral("showAll"));
    FShowAll->setFixedWidth(140);
    parts.Buttons->addWidget(FOpenCsv);
    parts.Buttons->addWidget(FShowAll);
    connect(FShowAll, &QCheckBox::toggled, this, &TScannerResultsForm::FillGrid);

    FMarketPanel = new QFrame(this);
    FMarketPanel->setObjectName(QStringLiteral("marketPanel"));
    FMarketPanel->setFixedHeight(Scaled(this, 44));
    FMarketPanel->setAutoFillBackground(true);
    QPalette panelColours = FMarketPanel->palette();
    panelColours.setColor(QPalette::Window, panelColours.color(QPalette::Button));
    FMarketPanel->setPalette(panelColours);
    auto* banner = new QVBoxLayout(FMarketPanel);
    banner->setContentsMargins(8, 4, 8, 4);
    FMarketLabel = new QLabel(FMarketPanel);
    FMarketLabel->setWordWrap(true);
    QFont bold = FMarketLabel->font();
    bold.setBold(true);
    FMarketLabel->setFont(bold);
    banner->addWidget(FMarketLabel);
    FMarketPanel->hide();
    parts.Column->addWidget(FMarketPanel);

    FModel = new TScanRowsModel(this);
    FModel->SetBaseFont(font());
    FList = new QTableView(this);
    FList->setObjectName(QStringLiteral("list"));
    FList->setModel(FModel);
    FList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FList->setSelectionBehavior(QAbstractItemView::SelectRows);
    FList->setSelectionMode(QAbstractItemView::SingleSelection);
    FList->setShowGrid(true);
    FList->setSortingEnabled(false);
    FList->verticalHeader()->hide();
    FList->horizontalHeader()->setSectionsClickable(false);
    FList->horizontalHeader()->setDefaultSectionSize(Scaled(this, 80));
    FList->installEventFilter(this);
    parts.Column->addWidget(FList, 1);
    connect(FList, &QTableView::doubleClicked, this, &TScannerResultsForm::OpenSelected);
    BuildFrozenColumn();

    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
}

void TScannerResultsForm::SetRows(const std::vector<TScanRow>& ARows, const std::string& ACsvFile,
                                  const TMarketContext& AMarket) {
    FMarketLabel->setText(QStringLiteral("  ") + ToQ(AMarket.Summary()) + QStringLiteral("\n  ") +
                          ToQ(AMarket.Advice()));
    QPalette colours = FMarketPanel->palette();
    colours.setColor(QPalette::Window, BannerColorOf(AMarket));
    FMarketPanel->setPalette(colours);
    FMarketPanel->show();
    SetRows(ARows, ACsvFile);
}

void TScannerResultsForm::SetRows(const std::vector<TScanRow>& ARows, const std::string& ACsvFile) {
    const std::string detail = ACsvFile.empty() ? "" : "Detail : " + ACsvFile;
    FRows = ARows;
    FCsvFile = ToQ(ACsvFile);
    FOpenCsv->setEnabled(!FCsvFile.isEmpty());
    const auto count = [&](TScanStatus AStatus) {
        return std::count_if(FRows.begin(), FRows.end(),
                             [&](const TScanRow& ARow) { return ARow.Status == AStatus; });
    };
    FInfo->setText(ToQ(Format(
        "  %d signal(aux), %d titre(s) a surveiller sur %d. Lignes en gras : signaux retenus dans "
        "les limites du portefeuille. Double-clic pour ouvrir le graphique. %s",
        count(TScanStatus::ssSignal), count(TScanStatus::ssWatch), FRows.size(), detail)));
    FillGrid();
}

void TScannerResultsForm::FillGrid() {
    std::vector<TScanRow> shown;
    for (const TScanRow& row : FRows) {
        if (FShowAll->isChecked() || row.Status == TScanStatus::ssSignal ||
            row.Status == TScanStatus::ssWatch) {
            shown.push_back(row);
        }
    }
    FList->setUpdatesEnabled(false);
    FModel->SetRows(std::move(shown));
    FList->setUpdatesEnabled(true);
    FitColumns();
}

void TScannerResultsForm::FitColumns() {
    const QFontMetrics normal(FList->font());
    QFont boldFont = FList->font();
    boldFont.setBold(true);
    const QFontMetrics bold(boldFont);
    const QFontMetrics header(FList->horizontalHeader()->font());
    const int extra = normal.horizontalAdvance(QStringLiteral("MMM"));
    for (int column = 0; column < ScanColumnCount; ++column) {
        int widest = header.horizontalAdvance(QString::fromLatin1(ScanColumnCaption(column)));
        for (int line = 0; line < FModel->rowCount(); ++line) {
            const QModelIndex index = FModel->index(line, column);
            const bool isBold = FModel->data(index, TScanRowsModel::LineStyleRole).toInt() == 10;
            const QString text = FModel->data(index).toString();
            widest = std::max(widest, (isBold ? bold : normal).horizontalAdvance(text));
        }
        FList->setColumnWidth(column, widest + extra);
    }
}

void TScannerResultsForm::BuildFrozenColumn() {
    // A second view of the same rows and selection, showing the frozen columns only, laid over
    // the grid's left edge and scrolled with it vertically.
    FFrozen = new QTableView(FList);
    FFrozen->setObjectName(QStringLiteral("frozen"));
    FFrozen->setModel(FModel);
    FFrozen->setSelectionModel(FList->selectionModel());
    FFrozen->setFocusPolicy(Qt::NoFocus);
    FFrozen->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FFrozen->setSelectionBehavior(QAbstractItemView::SelectRows);
    FFrozen->setSelectionMode(QAbstractItemView::SingleSelection);
    FFrozen->setShowGrid(true);
    FFrozen->verticalHeader()->hide();
    FFrozen->horizontalHeader()->setSectionsClickable(false);
    FFrozen->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FFrozen->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (int column = FrozenColumns; column < ScanColumnCount; ++column) {
        FFrozen->setColumnHidden(column, true);
    }
    FList->viewport()->stackUnder(FFrozen);
    FList->viewport()->installEventFilter(this);
    connect(FList->verticalScrollBar(), &QScrollBar::valueChanged, FFrozen->verticalScrollBar(),
            &QScrollBar::setValue);
    connect(FFrozen->verticalScrollBar(), &QScrollBar::valueChanged, FList->verticalScrollBar(),
            &QScrollBar::setValue);
    connect(FList->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int AColumn, int, int) {
                if (AColumn < FrozenColumns) {
                    PlaceFrozenColumn();
                }
            });
    connect(FFrozen, &QTableView::doubleClicked, this, &TScannerResultsForm::OpenSelected);
    PlaceFrozenColumn();
}

void TScannerResultsForm::PlaceFrozenColumn() {
    int width = 0;
    for (int column = 0; column < FrozenColumns; ++column) {
        FFrozen->setColumnWidth(column, FList->columnWidth(column));
        width += FList->columnWidth(column);
    }
    FFrozen->setGeometry(FList->frameWidth(), FList->frameWidth(), width,
                         FList->viewport()->height() + FList->horizontalHeader()->height());
}

void TScannerResultsForm::OpenSelected() {
    const QModelIndex current = FList->currentIndex();
    if (!current.isValid() || !FList->selectionModel()->isSelected(current)) {
        return;
    }
    emit OpenSymbolRequested(ToQ(FModel->Row(current.row()).Symbol));
}

bool TScannerResultsForm::eventFilter(QObject* AWatched, QEvent* AEvent) {
    if (AWatched == FList->viewport() && AEvent->type() == QEvent::Resize) {
        PlaceFrozenColumn();
    }
    if (AWatched == FList && AEvent->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(AEvent)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            OpenSelected();
            return true;
        }
    }
    return QWidget::eventFilter(AWatched, AEvent);
}

QString TScannerResultsForm::InfoText() const {
    return FInfo->text();
}

QString TScannerResultsForm::BannerText() const {
    return FMarketLabel->text();
}

QColor TScannerResultsForm::BannerColor() const {
    return FMarketPanel->palette().color(QPalette::Window);
}

bool TScannerResultsForm::BannerShown() const {
    return !FMarketPanel->isHidden();
}

}  // namespace cotalys
