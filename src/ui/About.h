#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QToolButton;

namespace swr {

struct AppState;
class IBrowser;

// About...: the product, its version and codes, and the maker's address. Its texts are
// fixed English ones; it does not follow the language.
class TFAbout : public QDialog {
    Q_OBJECT
public:
    TFAbout(const AppState& st, IBrowser& browser, QWidget* parent = nullptr);

    // Opens the maker's home page (the address label and the logo).
    void Open_Home_Page();

    QToolButton* Image2;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label10;
    QLabel* Label6;
    QLabel* Label9;
    QLabel* Label8;
    QLabel* Label12;
    QLabel* Label4;
    QPushButton* Btn_OK;

private:
    IBrowser& browser_;
};

} // namespace swr
