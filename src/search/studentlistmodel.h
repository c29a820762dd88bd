#pragma once

#include "search/studentsearch.h"

#include <QAbstractListModel>
#include <QFont>

// The result list behind the list view: the lines of a search in Courier New
// 12, black, each 1600 units wide so long lines scroll sideways. The text of
// a line is made only when the view asks for it.
class StudentListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    explicit StudentListModel(QObject *parent = nullptr);

    void setResults(SearchResults results);
    void clear();
    const SearchResults &results() const { return m_results; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    static QFont lineFont();

private:
    SearchResults m_results;
    QFont m_font;
    int m_lineHeight;
};
