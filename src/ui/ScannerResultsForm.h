#pragma once

#include <QColor>
#include <QString>
#include <QWidget>
#include <string>
#include <vector>

#include "scanner/Scanner.h"
#include "signals/MarketContext.h"

class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;
class QTableView;

namespace cotalys {

class TScanRowsModel;

// The non-modal window of the daily scan: a banner with the CAC 40 context, an information line
// and the grid of rows, styled by status, whose Statut and Symbole columns stay in view when it
// scrolls. A double-click or Enter on a line asks for that symbol (OpenSymbolRequested). Closing
// it only hides it; the next scan shows it again.
class TScannerResultsForm : public QWidget {
    Q_OBJECT

public:
    // Builds the window, owned by AOwner (the main window).
    explicit TScannerResultsForm(QWidget* AOwner);

    // Shows AMarket in the banner, then the rows.
    void SetRows(const std::vector<TScanRow>& ARows, const std::string& ACsvFile,
                 const TMarketContext& AMarket);
    // Keeps a copy of ARows, writes the information line and fills the grid.
    void SetRows(const std::vector<TScanRow>& ARows, const std::string& ACsvFile);

    // What the window shows: the information line, the banner and its colour, the grid.
    QString InfoText() const;
    QString BannerText() const;
    QColor BannerColor() const;
    bool BannerShown() const;
    TScanRowsModel* Model() const { return FModel; }
    QTableView* List() const { return FList; }
    // The copy of the Statut and Symbole columns that stays over the grid's left edge when it
    // scrolls right.
    QTableView* FrozenColumn() const { return FFrozen; }

signals:
    // The user opens the line of ASymbol.
    void OpenSymbolRequested(const QString& ASymbol);

protected:
    bool eventFilter(QObject* AWatched, QEvent* AEvent) override;

private:
    void FillGrid();
    void FitColumns();
    void BuildFrozenColumn();
    void PlaceFrozenColumn();
    void OpenSelected();

    std::vector<TScanRow> FRows;
    QTableView* FList = nullptr;
    QTableView* FFrozen = nullptr;
    QLabel* FInfo = nullptr;
    QCheckBox* FShowAll = nullptr;
    QFrame* FMarketPanel = nullptr;
    QLabel* FMarketLabel = nullptr;
    QPushButton* FOpenCsv = nullptr;
    QString FCsvFile;
    TScanRowsModel* FModel = nullptr;
};

}  // namespace cotalys
