#include "ui/ScanRowsModel.h"

#include <QBrush>
#include <QColor>
#include <QGuiApplication>
#include <QPalette>

#include "ui/ScanCells.h"
#include "ui/UiText.h"

namespace cotalys {

namespace {

// Background of each line style; none for a row without verdict, on the window's own colour.
QVariant LineBackground(int AStyle) {
    switch (AStyle) {
        case 10:
            return QBrush(QColor(168, 224, 168));
        case 0:
            return QBrush(QColor(216, 240, 216));
        case 11:
            return QBrush(QColor(224, 224, 224));
        case 1:
            return QBrush(QColor(250, 236, 208));
        case 3:
            return QBrush(QColor(248, 224, 224));
        default:
            return QVariant();
    }
}

Qt::Alignment ColumnAlignment(int AColumn) {
    return (ScanColumnRightAligned(AColumn) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
}

}  // namespace

TScanRowsModel::TScanRowsModel(QObject* AOwner) : QAbstractTableModel(AOwner) {}

void TScanRowsModel::SetRows(std::vector<TScanRow> ARows) {
    beginResetModel();
    FRows = std::move(ARows);
    endResetModel();
}

int TScanRowsModel::rowCount(const QModelIndex& AParent) const {
    return AParent.isValid() ? 0 : static_cast<int>(FRows.size());
}

int TScanRowsModel::columnCount(const QModelIndex& AParent) const {
    return AParent.isValid() ? 0 : ScanColumnCount;
}

QVariant TScanRowsModel::data(const QModelIndex& AIndex, int ARole) const {
    if (!checkIndex(AIndex, CheckIndexOption::IndexIsValid)) {
        return QVariant();
    }
    const TScanRow& row = FRows[static_cast<std::size_t>(AIndex.row())];
    const int style = ScanLineStyle(row);
    switch (ARole) {
        case Qt::DisplayRole:
            return ToQ(ScanCellText(row, AIndex.column()));
        case Qt::TextAlignmentRole:
            return static_cast<int>(ColumnAlignment(AIndex.column()));
        case Qt::BackgroundRole:
            return LineBackground(style);
        case Qt::ForegroundRole:
            if (style == 11) {
                return QBrush(QGuiApplication::palette().color(QPalette::Disabled, QPalette::Text));
            }
            return QVariant();
        case Qt::FontRole:
            if (style == 10) {
                QFont bold = FBaseFont;
                bold.setBold(true);
                return bold;
            }
            return QVariant();
        case LineStyleRole:
            return style;
        default:
            return QVariant();
    }
}

QVariant TScanRowsModel::headerData(int ASection, Qt::Orientation AOrientation, int ARole) const {
    if (AOrientation != Qt::Horizontal || ASection < 0 || ASection >= ScanColumnCount) {
        return QAbstractTableModel::headerData(ASection, AOrientation, ARole);
    }
    if (ARole == Qt::DisplayRole) {
        return QString::fromLatin1(ScanColumnCaption(ASection));
    }
    if (ARole == Qt::TextAlignmentRole) {
        return static_cast<int>(ColumnAlignment(ASection));
    }
    return QVariant();
}

}  // namespace cotalys
