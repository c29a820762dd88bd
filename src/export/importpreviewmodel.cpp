#include "importpreviewmodel.h"

#include <QBrush>
#include <QColor>

namespace {

const QColor kFaulty(0xF6, 0xC6, 0xC6);
const QColor kNew(0xD8, 0xF0, 0xD8);
const QColor kUpdate(0xD6, 0xE6, 0xF8);
const QColor kSkipped(0xE4, 0xE4, 0xE4);

} // namespace

ImportPreviewModel::ImportPreviewModel(QObject *parent) : QAbstractTableModel(parent) {}

void ImportPreviewModel::setPlan(std::unique_ptr<ImportPlan> plan)
{
    beginResetModel();
    m_plan = std::move(plan);
    endResetModel();
    emit planChanged();
}

void ImportPreviewModel::setMapping(const QList<int> &mapping)
{
    if (!m_plan)
        return;
    m_plan->setMapping(mapping);
    refreshAll();
}

void ImportPreviewModel::setUpdatesDuplicates(bool update)
{
    if (!m_plan)
        return;
    m_plan->setUpdatesDuplicates(update);
    refreshAll();
}

void ImportPreviewModel::refreshAll()
{
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    emit planChanged();
}

QString ImportPreviewModel::statusText(const ImportPlan::Row &row)
{
    switch (row.status) {
    case ImportPlan::Status::New:
        return QStringLiteral("Nuova scheda");
    case ImportPlan::Status::Update:
        return QStringLiteral("Aggiorna n. %1").arg(row.number);
    case ImportPlan::Status::Duplicate:
        return QStringLiteral("Doppione: saltata");
    case ImportPlan::Status::Invalid:
        break;
    }
    return QStringLiteral("Errori: saltata");
}

int ImportPreviewModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_plan ? 0 : int(m_plan->rows().size());
}

int ImportPreviewModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_plan ? 0 : m_plan->columnCount() + 1;
}

QVariant ImportPreviewModel::data(const QModelIndex &index, int role) const
{
    if (!m_plan || !index.isValid())
        return {};
    const ImportPlan::Row &row = m_plan->rows()[size_t(index.row())];
    const int column = index.column() - 1;
    if (column < 0) {
        switch (role) {
        case Qt::DisplayRole:
            return statusText(row);
        case Qt::ToolTipRole: {
            const QString problem = m_plan->rowProblem(index.row());
            return problem.isEmpty() ? QVariant() : QVariant(problem);
        }
        case Qt::BackgroundRole:
            switch (row.status) {
            case ImportPlan::Status::New:
                return QBrush(kNew);
            case ImportPlan::Status::Update:
                return QBrush(kUpdate);
            case ImportPlan::Status::Duplicate:
                return QBrush(kSkipped);
            case ImportPlan::Status::Invalid:
                return QBrush(kFaulty);
            }
            return {};
        default:
            return {};
        }
    }
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return row.cells.value(column);
    case Qt::ToolTipRole: {
        const QString issues = m_plan->cellIssues(index.row(), column);
        return issues.isEmpty() ? QVariant() : QVariant(issues);
    }
    case Qt::BackgroundRole:
        if (row.issues.isEmpty() || m_plan->cellIssues(index.row(), column).isEmpty())
            return {};
        return QBrush(kFaulty);
    default:
        return {};
    }
}

QVariant ImportPreviewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || !m_plan)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Vertical)
        return section < rowCount() ? QVariant(m_plan->rows()[size_t(section)].line) : QVariant();
    if (section == 0)
        return QStringLiteral("Esito");
    return m_plan->header().value(section - 1);
}

Qt::ItemFlags ImportPreviewModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() > 0)
        f |= Qt::ItemIsEditable;
    return f;
}

bool ImportPreviewModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!m_plan || role != Qt::EditRole || !index.isValid() || index.column() == 0)
        return false;
    m_plan->setCell(index.row(), index.column() - 1, value.toString());
    // A cell can change other rows too (a codice fiscale no longer repeated).
    refreshAll();
    return true;
}
