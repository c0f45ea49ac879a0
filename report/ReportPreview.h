#pragma once
#include "report/ReportLayout.h"

#include <QDialog>

class QLabel;

namespace cad::report {

class PageView;

/// The print preview: one page at a time, zoomed to fit, with paging, printing, PDF export and closing.
class ReportPreview : public QDialog
{
    Q_OBJECT
public:
    ReportPreview(const ReportLayout& layout, const QString& title, QWidget* parent = nullptr);
    ~ReportPreview() override;

    [[nodiscard]] const ReportLayout& layout() const { return m_layout; }
    [[nodiscard]] int currentPage() const; ///< 0-based
    [[nodiscard]] int pageCount() const { return m_layout.pageCount(); }
    void showPage(int page); ///< clamps to the pages there are

    void printPages();  ///< asks for printer, range and copies, then prints
    void exportToPdf(); ///< asks for a file name, then writes every page to it

private:
    void pageChanged();

    const ReportLayout& m_layout;
    PageView* m_view = nullptr;
    QLabel* m_pageLabel = nullptr;
    QList<QAction*> m_backActions;
    QList<QAction*> m_forwardActions;
};

} // namespace cad::report
