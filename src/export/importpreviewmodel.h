#pragma once

#include "import/importplan.h"

#include <QAbstractTableModel>

#include <memory>

// The import's preview grid: column 0 tells what becomes of the row (new
// card, update, skipped), the others are the sheet's columns, editable. A
// faulty cell is painted red with its reasons as the tooltip; the rows are
// numbered as the sheet numbers them. Typing into a cell rechecks the plan.
class ImportPreviewModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit ImportPreviewModel(QObject *parent = nullptr);

    void setPlan(std::unique_ptr<ImportPlan> plan);
    ImportPlan *plan() const { return m_plan.get(); }
    // Recheck after the mapping or the choice for duplicates changed.
    void setMapping(const QList<int> &mapping);
    void setUpdatesDuplicates(bool update);

    // The first column's text for a row.
    static QString statusText(const ImportPlan::Row &row);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

signals:
    void planChanged();

private:
    void refreshAll();
    std::unique_ptr<ImportPlan> m_plan;
};
