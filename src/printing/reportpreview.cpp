#include "reportpreview.h"

#include "reportoutput.h"

#include "base/platform.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

// Draws one prepared page on a grey desk at the preview's zoom.
class PreviewPageView : public QWidget
{
public:
    static constexpr int Desk = 20;

    explicit PreviewPageView(const Report &report, QWidget *parent) : QWidget(parent), m_report(report)
    {
        setObjectName(QStringLiteral("previewPage"));
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    int page = 0;
    double zoom = 1.0;

    QSizeF paperSize() const
    {
        const auto &pages = m_report.preparedPages();
        if (pages.isEmpty())
            return m_report.firstPage().paperSizePx();
        return pages.at(std::clamp(page, 0, int(pages.size()) - 1)).paperPx;
    }
    void refit()
    {
        const QSizeF paper = paperSize() * zoom;
        setFixedSize(int(std::ceil(paper.width())) + 2 * Desk, int(std::ceil(paper.height())) + 2 * Desk);
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(0x80, 0x80, 0x80));
        const QSizeF paper = paperSize() * zoom;
        const QRectF sheet(Desk, Desk, paper.width(), paper.height());
        painter.fillRect(sheet.translated(4, 4), QColor(0x50, 0x50, 0x50));
        painter.fillRect(sheet, Qt::white);
        const auto &pages = m_report.preparedPages();
        if (pages.isEmpty())
            return;
        painter.setClipRect(sheet);
        ReportOutput::beginPage(painter, Length::PixelsPerInch * zoom, sheet.topLeft());
        ReportOutput::paintPage(painter, pages.at(std::clamp(page, 0, int(pages.size()) - 1)));
    }

private:
    const Report &m_report;
};

namespace {
QToolButton *toolButton(QToolBar *bar, const QString &name, const QString &text, const QString &tip)
{
    auto *button = new QToolButton(bar);
    button->setObjectName(name);
    button->setText(text);
    button->setToolTip(tip);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    // Framed like the zoom and page buttons beside it, so that a text-only
    // button does not read as a label.
    bar->addWidget(button);
    button->setAutoRaise(false);
    return button;
}
} // namespace

ReportPreview::ReportPreview(Report &report, Platform &platform, QWidget *parent)
    : QDialog(parent), m_report(report), m_platform(platform)
{
    setObjectName(QStringLiteral("frmPreview"));
    setWindowTitle(report.reportName);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint
                   | Qt::WindowCloseButtonHint);
    setModal(true);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("previewToolBar"));
    m_toolBar->setMovable(false);
    layout->addWidget(m_toolBar);

    const auto buttons = report.previewButtons;
    if (buttons & Report::pbPrint)
        connect(toolButton(m_toolBar, QStringLiteral("pbPrint"), QStringLiteral("Stampa"),
                           QStringLiteral("Stampa il documento")),
                &QToolButton::clicked, this, &ReportPreview::printReport);
    if (buttons & Report::pbZoom) {
        auto *zoom = new QWidget(m_toolBar);
        zoom->setObjectName(QStringLiteral("pbZoom"));
        auto *row = new QHBoxLayout(zoom);
        row->setContentsMargins(4, 0, 4, 0);
        auto *width = new QToolButton(zoom);
        width->setObjectName(QStringLiteral("pbZoomPageWidth"));
        width->setText(QStringLiteral("Larghezza pagina"));
        connect(width, &QToolButton::clicked, this, &ReportPreview::zoomToPageWidth);
        auto *whole = new QToolButton(zoom);
        whole->setObjectName(QStringLiteral("pbZoomWholePage"));
        whole->setText(QStringLiteral("Pagina intera"));
        connect(whole, &QToolButton::clicked, this, &ReportPreview::zoomToWholePage);
        m_zoomBox = new QComboBox(zoom);
        m_zoomBox->setObjectName(QStringLiteral("pbZoomBox"));
        m_zoomBox->setEditable(true);
        m_zoomBox->setInsertPolicy(QComboBox::NoInsert);
        m_zoomBox->setMinimumContentsLength(5);
        for (int percent : {25, 50, 75, 100, 150, 200, 300, 400})
            m_zoomBox->addItem(QStringLiteral("%1%").arg(percent), percent / 100.0);
        connect(m_zoomBox, qOverload<int>(&QComboBox::activated), this,
                [this](int index) { setZoom(m_zoomBox->itemData(index).toDouble()); });
        // A percentage typed in the box.
        connect(m_zoomBox->lineEdit(), &QLineEdit::editingFinished, this, [this]() {
            bool ok = false;
            const int percent = m_zoomBox->currentText().remove(QLatin1Char('%')).trimmed().toInt(&ok);
            setZoom(ok && percent > 0 ? percent / 100.0 : this->zoom());
        });
        row->addWidget(width);
        row->addWidget(whole);
        row->addWidget(m_zoomBox);
        m_toolBar->addWidget(zoom);
    }
    if (buttons & Report::pbFullScreen)
        connect(toolButton(m_toolBar, QStringLiteral("pbFullScreen"), QStringLiteral("Schermo intero"),
                           QStringLiteral("Mostra a schermo intero")),
                &QToolButton::clicked, this, &ReportPreview::toggleFullScreen);
    if (buttons & Report::pbNavigator) {
        auto *navigator = new QWidget(m_toolBar);
        navigator->setObjectName(QStringLiteral("pbNavigator"));
        auto *row = new QHBoxLayout(navigator);
        row->setContentsMargins(4, 0, 4, 0);
        auto step = [&](const QString &name, const QString &text, auto target) {
            auto *button = new QToolButton(navigator);
            button->setObjectName(name);
            button->setText(text);
            connect(button, &QToolButton::clicked, this, [this, target]() { setCurrentPage(target(this)); });
            row->addWidget(button);
        };
        step(QStringLiteral("pbFirst"), QStringLiteral("|<"), [](ReportPreview *) { return 0; });
        step(QStringLiteral("pbPrior"), QStringLiteral("<"), [](ReportPreview *p) { return p->currentPage() - 1; });
        m_pageBox = new QSpinBox(navigator);
        m_pageBox->setObjectName(QStringLiteral("pbPageNumber"));
        connect(m_pageBox, qOverload<int>(&QSpinBox::valueChanged), this,
                [this](int value) { setCurrentPage(value - 1); });
        row->addWidget(m_pageBox);
        step(QStringLiteral("pbNext"), QStringLiteral(">"), [](ReportPreview *p) { return p->currentPage() + 1; });
        step(QStringLiteral("pbLast"), QStringLiteral(">|"), [](ReportPreview *p) { return p->pageCount() - 1; });
        m_toolBar->addWidget(navigator);
    }
    if (buttons & Report::pbClose)
        connect(toolButton(m_toolBar, QStringLiteral("pbClose"), QStringLiteral("Chiudi"),
                           QStringLiteral("Chiudi l'anteprima")),
                &QToolButton::clicked, this, &QDialog::accept);

    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("previewArea"));
    m_scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QPalette desk = m_scroll->palette();
    desk.setColor(QPalette::Window, QColor(0x80, 0x80, 0x80));
    desk.setColor(QPalette::Dark, QColor(0x80, 0x80, 0x80));
    m_scroll->setPalette(desk);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_view = new PreviewPageView(report, m_scroll);
    m_scroll->setWidget(m_view);
    layout->addWidget(m_scroll, 1);

    if (QScreen *screen = QGuiApplication::primaryScreen())
        resize(screen->availableGeometry().size());
    setWindowState(windowState() | Qt::WindowMaximized);
    setZoom(1.0);
}

int ReportPreview::currentPage() const
{
    return m_view->page;
}

void ReportPreview::setCurrentPage(int page)
{
    const int clamped = std::clamp(page, 0, std::max(0, pageCount() - 1));
    if (clamped != m_view->page) {
        m_view->page = clamped;
        m_view->refit();
    }
    updateNavigator();
}

int ReportPreview::pageCount() const
{
    return int(m_report.preparedPages().size());
}

double ReportPreview::zoom() const
{
    return m_view->zoom;
}

void ReportPreview::setZoom(double zoom)
{
    m_view->zoom = std::clamp(zoom, 0.1, 8.0);
    m_view->refit();
    if (m_zoomBox)
        m_zoomBox->setEditText(QStringLiteral("%1%").arg(std::lround(m_view->zoom * 100)));
    updateNavigator();
}

void ReportPreview::zoomToPageWidth()
{
    const double available = m_scroll->viewport()->width() - 2 * PreviewPageView::Desk
                             - m_scroll->verticalScrollBar()->sizeHint().width();
    setZoom(available / m_view->paperSize().width());
}

void ReportPreview::zoomToWholePage()
{
    const QSizeF paper = m_view->paperSize();
    const double w = (m_scroll->viewport()->width() - 2 * PreviewPageView::Desk) / paper.width();
    const double h = (m_scroll->viewport()->height() - 2 * PreviewPageView::Desk) / paper.height();
    setZoom(std::min(w, h));
}

void ReportPreview::toggleFullScreen()
{
    if (isFullScreen())
        setWindowState((windowState() & ~Qt::WindowFullScreen) | Qt::WindowMaximized);
    else
        setWindowState(windowState() | Qt::WindowFullScreen);
}

void ReportPreview::printReport()
{
    if (ReportOutput::print(m_report, m_platform, this, currentPage()) == ReportOutput::PrintResult::Failed)
        m_platform.error(this, QStringLiteral("Non è stato possibile stampare il documento."));
}

void ReportPreview::updateNavigator()
{
    if (!m_pageBox)
        return;
    const QSignalBlocker block(m_pageBox);
    m_pageBox->setRange(1, std::max(1, pageCount()));
    m_pageBox->setValue(currentPage() + 1);
    m_pageBox->setSuffix(QStringLiteral(" / %1").arg(std::max(1, pageCount())));
}
