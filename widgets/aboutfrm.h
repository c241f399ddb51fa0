#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TAboutFrm;
}

// The About box: program name and version, icon, animation, authorship and the project's links.
// Created once and kept; each showing is modal, and Exit or the close button hides it again.
class TAboutFrm : public QDialog
{
    Q_OBJECT
public:
    explicit TAboutFrm(QWidget *parent = nullptr);
    ~TAboutFrm() override;

    Ui::TAboutFrm *Form() const { return m_ui.get(); }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void Button1Click();
    void FitTextsToFont();
    void ShowApplicationIcon();

    std::unique_ptr<Ui::TAboutFrm> m_ui;
};
