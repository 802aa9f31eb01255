#pragma once

#include <QAbstractTableModel>
#include <QFont>
#include <vector>

#include "scanner/Scanner.h"

namespace cotalys {

// The lines of the scanner results grid: one scan row per line, its 24 cell texts, and its
// line style as background, text colour and weight. It only adapts the rows for display.
class TScanRowsModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // The line style code (ScanLineStyle) of a line, under this role.
    static constexpr int LineStyleRole = Qt::UserRole + 1;

    explicit TScanRowsModel(QObject* AOwner = nullptr);

    // Replaces the lines with ARows, in their order.
    void SetRows(std::vector<TScanRow> ARows);
    // The row shown on line ALine.
    const TScanRow& Row(int ALine) const { return FRows.at(static_cast<std::size_t>(ALine)); }
    // The grid's font; retained signals show in its bold face.
    void SetBaseFont(const QFont& AFont) { FBaseFont = AFont; }

    int rowCount(const QModelIndex& AParent = QModelIndex()) const override;
    int columnCount(const QModelIndex& AParent = QModelIndex()) const override;
    QVariant data(const QModelIndex& AIndex, int ARole = Qt::DisplayRole) const override;
    QVariant headerData(int ASection, Qt::Orientation AOrientation,
                        int ARole = Qt::DisplayRole) const override;

private:
    std::vector<TScanRow> FRows;
    QFont FBaseFont;
};

}  // namespace cotalys
