#include "GridFit.h"

#include "GridModel.h"

#include <QEvent>
#include <QHeaderView>
#include <QSignalBlocker>
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
    // The widths fill the viewport themselves: a stretching last section would move on
    // its own after each resize and have the grid painted twice.
    QHeaderView* h = view_->horizontalHeader();
    if (h->stretchLastSection()) {
        h->setStretchLastSection(false);
        // The header's length kept counting columns hidden while it stretched; hidden
        // again, they count for nothing.
        for (int c = 0; c < h->count(); ++c)
            if (h->isSectionHidden(c)) {
                h->setSectionHidden(c, false);
                h->setSectionHidden(c, true);
            }
    }
    view_->viewport()->installEventFilter(this);
    connect(h, &QHeaderView::sectionResized, this, [this] {
        if (!laying_out_)
            user_sized_ = true;
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
    // A drop-down column has room for the entries it offers an empty row.
    if (m->rowCount() > 0)
        for (const QString& s : m->data(m->index(0, column), Choices_Role).toStringList())
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
    Lay_Out(false);
}

int GridFit::Last_Shown() const
{
    const QHeaderView* h = view_->horizontalHeader();
    for (int v = h->count() - 1; v >= 0; --v)
        if (!h->isSectionHidden(h->logicalIndex(v)))
            return h->logicalIndex(v);
    return -1;
}

void GridFit::Lay_Out(bool resizing)
{
    const QAbstractItemModel* m = view_->model();
    const int last = Last_Shown();
    if (!m || header_.size() != m->columnCount() || last < 0)
        return;
    const int columns = int(header_.size());
    const int avail = view_->viewport()->width();
    QList<int> width(columns, 0);
    if (user_sized_) {
        // The user's widths stay; the last column takes up or gives back the difference.
        int others = 0;
        for (int c = 0; c < columns; ++c)
            if (c != last && !view_->isColumnHidden(c))
                others += view_->columnWidth(c);
        width[last] = qMax(header_[last], avail - others);
    } else {
        QList<int> weight(columns, 0);
        for (const Room_Column& r : room_)
            if (r.column >= 0 && r.column < columns)
                weight[r.column] = qMax(1, r.weight);
        int fixed = 0, need = 0, weights = 0;
        for (int c = 0; c < columns; ++c) {
            if (view_->isColumnHidden(c)) {
                weight[c] = 0;
                continue;
            }
            width[c] = qMax(header_[c], content_[c]);
            (weight[c] > 0 ? need : fixed) += width[c];
            weights += weight[c];
        }
        const int spare = avail - fixed - need;
        // Short of room, the room columns give way first: each keeps its header and gets a
        // share of what is left by how much more its content wants, times its weight.
        int headers = 0;
        qint64 wants = 0;
        for (int c = 0; c < columns; ++c)
            if (weight[c] > 0) {
                headers += header_[c];
                wants += qint64(weight[c]) * (width[c] - header_[c]);
            }
        const int left = qMax(0, avail - fixed - headers);
        int total = 0;
        for (int c = 0; c < columns; ++c) {
            if (weight[c] > 0 && spare >= 0)
                width[c] += int(qint64(spare) * weight[c] / weights);
            else if (weight[c] > 0)
                width[c] = header_[c] + (wants > 0 ? int(left * qint64(weight[c]) * (width[c] - header_[c]) / wants) : 0);
            total += width[c];
        }
        if (total < avail) // what the shares left over in rounding
            width[last] += avail - total;
    }
    laying_out_ = true;
    {
        // While the viewport is being resized it is repainted whole anyway: the grid need
        // not hear of each column, which would paint it a second time.
        const QSignalBlocker quiet(resizing ? view_->horizontalHeader() : nullptr);
        for (int c = 0; c < columns; ++c)
            if (!view_->isColumnHidden(c) && (c == last || !user_sized_) && view_->columnWidth(c) != width[c])
                view_->setColumnWidth(c, width[c]);
    }
    laying_out_ = false;
}

bool GridFit::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() == QEvent::Resize && watched == view_->viewport() && !laying_out_)
        Lay_Out(true);
    return false;
}

} // namespace swr
