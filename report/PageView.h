#pragma once
#include "report/ReportLayout.h"

#include <QWidget>

namespace cad::report {

/// Shows one page of a laid-out report, zoomed to fit the widget, on a grey desk.
class PageView : public QWidget
{
    Q_OBJECT
public:
    PageView(const ReportLayout& layout, QWidget* parent = nullptr);

    [[nodiscard]] int page() const { return m_page; }
    void setPage(int page);
    /// Where the paper lies in the widget, in widget pixels.
    [[nodiscard]] QRectF paperRect() const;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    const ReportLayout& m_layout;
    int m_page = 0;
};

} // namespace cad::report
