#include "studentlistmodel.h"

#include "base/forms.h"

#include <QColor>
#include <QFontMetrics>
#include <QSize>

StudentListModel::StudentListModel(QObject *parent)
    : QAbstractListModel(parent), m_font(lineFont()), m_lineHeight(QFontMetrics(m_font).height() + 2)
{
}

QFont StudentListModel::lineFont()
{
    QFont font(QStringLiteral("Courier New"));
    // Where Courier New is missing, any fixed-pitch font keeps the columns.
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(Forms::pixelsForPoints(12));
    return font;
}

void StudentListModel::setResults(SearchResults results)
{
    beginResetModel();
    m_results = std::move(results);
    endResetModel();
}

void StudentListModel::clear()
{
    beginResetModel();
    m_results.clear();
    endResetModel();
}

int StudentListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_results.size());
}

QVariant StudentListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_results.size())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return m_results.line(index.row());
    case Qt::FontRole:
        return m_font;
    case Qt::ForegroundRole:
        return QColor(Qt::black);
    case Qt::SizeHintRole:
        return QSize(1600, m_lineHeight);
    default:
        return {};
    }
}
