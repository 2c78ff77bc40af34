#include "GridFit.h"

#include <QEvent>
#include <QHeaderView>
#include <QStyle>
#include <QTableView>

#include <algorithm>

namespace swr {

namespace {

// Measuring a text shapes it: only the few longest texts of a column, by their characters,
// are measured, and the longest in characters is nearly always among the widest.
constexpr int Measured_Texts = 3;
// What one long value may ask of a column; the room columns may ask for more.
constexpr int Column_Cap = 320;
constexpr int Room_Column_Cap = 560;

// The longest line of a text, for a cell that shows only one.
QString Longest_Line(const QString& text)
{
    if (!text.contains(QLatin1Char('\n')))
        return text;
    QString longest;
    for (const QString& line : text.split(QLatin1Char('\n')))
        if (line.size() > longest.size())
            longest = line;
    return longest;
}

} // namespace

GridFit::GridFit(QTableView* view, QList<Room_Column> room) : QObject(view), view_(view), room_(std::move(room))
{
    view_->viewport()->installEventFilter(this);
    connect(view_->horizontalHeader(), &QHeaderView::sectionResized, this, [this](int logical) {
        if (laying_out_)
            return;
        // The header itself moves only the last column, which follows the viewport.
        const QHeaderView* h = view_->horizontalHeader();
        for (int v = h->count() - 1; v >= 0; --v)
            if (!h->isSectionHidden(h->logicalIndex(v))) {
                if (h->logicalIndex(v) != logical)
                    user_sized_ = true;
                return;
            }
    });
}

void GridFit::Set_Samples(int column, QStringList samples) { samples_[column] = std::move(samples); }

int GridFit::Content_Width(int column) const
{
    const QAbstractItemModel* m = view_->model();
    QString longest[Measured_Texts];
    auto consider = [&longest](const QString& text) {
        const QString line = Longest_Line(text);
        if (line.size() <= longest[Measured_Texts - 1].size())
            return;
        int i = Measured_Texts - 1;
        for (; i > 0 && longest[i - 1].size() < line.size(); --i)
            longest[i] = longest[i - 1];
        longest[i] = line;
    };
    for (int r = 0; r < m->rowCount(); ++r)
        consider(m->data(m->index(r, column), Qt::DisplayRole).toString());
    for (const QString& s : samples_.value(column))
        consider(s);
    const QFontMetrics fm = view_->fontMetrics();
    int text = 0;
    for (const QString& t : longest)
        if (!t.isEmpty())
            text = qMax(text, fm.horizontalAdvance(t));
    const QStyle* style = view_->style();
    // The item's margins on both sides, as the cells draw them, and a little air.
    int w = text > 0 ? text + 2 * (style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view_) + 1) + 6 : 0;
    if (m->rowCount() > 0 && m->data(m->index(0, column), Qt::CheckStateRole).isValid())
        w = qMax(w, style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, view_) + 12);
    const bool room = std::any_of(room_.cbegin(), room_.cend(), [column](const Room_Column& r) { return r.column == column; });
    return qMin(w, room ? Room_Column_Cap : Column_Cap);
}

void GridFit::Fit_Content()
{
    user_sized_ = false;
    header_.clear();
    content_.clear();
    const QAbstractItemModel* m = view_->model();
    if (!m)
        return;
    for (int c = 0; c < m->columnCount(); ++c) {
        const bool hidden = view_->isColumnHidden(c);
        header_.append(hidden ? 0 : view_->horizontalHeader()->sectionSizeHint(c));
        content_.append(hidden ? 0 : Content_Width(c));
    }
    Lay_Out();
}

void GridFit::Lay_Out()
{
    const QAbstractItemModel* m = view_->model();
    if (!m || header_.size() != m->columnCount())
        return;
    const int columns = int(header_.size());
    QList<int> fit(columns, 0);
    QList<int> weight(columns, 0);
    for (const Room_Column& r : room_)
        if (r.column >= 0 && r.column < columns)
            weight[r.column] = qMax(1, r.weight);
    int fixed = 0, need = 0, weights = 0;
    for (int c = 0; c < columns; ++c) {
        if (view_->isColumnHidden(c))
            continue;
        fit[c] = qMax(header_[c], content_[c]);
        (weight[c] > 0 ? need : fixed) += fit[c];
        weights += weight[c];
    }
    const int avail = view_->viewport()->width();
    const int spare = avail - fixed - need;
    laying_out_ = true;
    for (int c = 0; c < columns; ++c) {
        if (view_->isColumnHidden(c))
            continue;
        int w = fit[c];
        if (weight[c] > 0 && spare >= 0)
            w += int(qint64(spare) * weight[c] / weights);
        else if (weight[c] > 0) // short of room: the room columns give way first, down to their headers
            w = qMax(header_[c], int(qint64(fit[c]) * qMax(0, avail - fixed) / need));
        view_->setColumnWidth(c, w);
    }
    laying_out_ = false;
}

bool GridFit::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() == QEvent::Resize && watched == view_->viewport() && !user_sized_)
        Lay_Out();
    return false;
}

} // namespace swr
