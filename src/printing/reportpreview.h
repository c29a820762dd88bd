#pragma once

#include "report/report.h"

#include <QDialog>

class Platform;
class QComboBox;
class QScrollArea;
class QSpinBox;
class QToolBar;
class PreviewPageView;

// The preview window: modal, maximised, captioned with the report's name,
// showing the prepared pages at 100 %. Its toolbar holds only the buttons the
// report's preview options name (objectNames pbPrint, pbZoom, pbFullScreen,
// pbClose, pbNavigator); pages are never editable here.
class ReportPreview : public QDialog
{
    Q_OBJECT
public:
    ReportPreview(Report &report, Platform &platform, QWidget *parent = nullptr);

    int currentPage() const; // 0-based
    void setCurrentPage(int page);
    int pageCount() const;
    double zoom() const;     // 1.0 = 100 %
    void setZoom(double zoom);
    void zoomToPageWidth();
    void zoomToWholePage();
    void toggleFullScreen();
    void printReport();

private:
    void updateNavigator();

    Report &m_report;
    Platform &m_platform;
    QToolBar *m_toolBar = nullptr;
    QScrollArea *m_scroll = nullptr;
    PreviewPageView *m_view = nullptr;
    QComboBox *m_zoomBox = nullptr;
    QSpinBox *m_pageBox = nullptr;
};
