#pragma once

#include <QWidget>

#include <array>

class QLineEdit;

namespace swr {

// An IPv4 address typed octet by octet: four small edits separated by "." labels. The "."
// key is never typed into an octet; it moves the focus to the next octet, from the fourth
// to the edit given to Chain_To, when that one can take the focus now (visible and
// enabled); otherwise the focus stays. No other key is filtered.
class OctetRow : public QWidget {
    Q_OBJECT
public:
    // names: the object names of the four edits; width: the width of each.
    OctetRow(QWidget* parent, const std::array<QString, 4>& names, int width);

    QLineEdit* Field(int i) const { return fields_[size_t(i)]; }
    const std::array<QLineEdit*, 4>& Fields() const { return fields_; }
    // The octet after the fourth, or none.
    void Chain_To(QLineEdit* next) { next_ = next; }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    std::array<QLineEdit*, 4> fields_{};
    QLineEdit* next_ = nullptr;
};

} // namespace swr
