#pragma once

#include "WidgetKit.h"

#include <QDialog>
#include <QStringList>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace swr {

struct AppState;
class IMessages;

// Create New Configuration.
class TFNew_Project : public QDialog, public ILangScreen {
    Q_OBJECT
public:
    TFNew_Project(AppState& st, IMessages& msg, QWidget* parent = nullptr);
    void Set_Lang() override;

    TitleStrip* Strip;
    QLabel* Label1;
    QLineEdit* E_New_Proj;
    QPushButton* Btn_OK;
    QPushButton* Btn_Cancel;

    void Btn_OKClick();

protected:
    void showEvent(QShowEvent* e) override;

private:
    AppState& st_;
    IMessages& msg_;
};

// Open Configuration.
class TFOpenConf : public QDialog, public ILangScreen {
    Q_OBJECT
public:
    TFOpenConf(AppState& st, QWidget* parent = nullptr);
    void Set_Lang() override;
    void Load_Existing_Configuration();

    TitleStrip* Strip;
    QLabel* Label1;
    QListWidget* ListBox1;
    QPushButton* Btn_OK;
    QPushButton* Btn_Cancel;

    QStringList SL;
    QString Name_Conf;

protected:
    void showEvent(QShowEvent* e) override;

private:
    AppState& st_;
};

} // namespace swr
