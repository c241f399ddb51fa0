// The receive box's view additions, chosen in its right-click menu: the time stamps' form, the
// scroll-back and dump rows in HEX mode.
#include "mainform.h"

#include "ui_mainform.h"

#include "application.h"
#include "rxviewoptions.h"
#include "useroptions.h"

#include <QActionGroup>
#include <QMenu>

#include <span>

namespace {

struct TChoice
{
    const char *Object;
    const char *Caption;
    const char *Value;
};

constexpr TChoice kStampChoices[] = {
    {"StampRegional", "Regional long time", "Regional"},
    {"StampMilliseconds", "hh:mm:ss.zzz", "Milliseconds"},
    {"StampDelta", "+\u0394 ms since the previous stamp", "Delta"},
};

constexpr TChoice kScrollBackChoices[] = {
    {"ScrollBack500", "500 lines, then clear", "500"},
    {"ScrollBack100000", "Keep the last 100 000 lines", "100000"},
};

QAction *NewItem(QWidget &owner, const TChoice &choice)
{
    auto *item = new QAction(QString::fromUtf8(choice.Caption), &owner);
    item->setObjectName(QString::fromLatin1(choice.Object));
    item->setCheckable(true);
    item->setData(QString::fromLatin1(choice.Value));
    return item;
}

// A submenu of choices of which one holds.
QMenu *NewChoicesMenu(QWidget &owner, const char *object, const char *title, std::span<const TChoice> choices)
{
    auto *menu = new QMenu(QString::fromLatin1(title), &owner);
    menu->setObjectName(QString::fromLatin1(object) + QStringLiteral("Menu"));
    menu->menuAction()->setObjectName(QString::fromLatin1(object));
    auto *group = new QActionGroup(menu);
    for (const TChoice &choice : choices) {
        QAction *item = NewItem(*menu, choice);
        item->setActionGroup(group);
        menu->addAction(item);
    }
    return menu;
}

} // namespace

// The box's context menu offers the items; they live as long as the box and show the choices.
void TMainForm::SetupRxView()
{
    RxView() = TRxViewOptions::Load();
    QWidget &box = *m_ui->RxMemo;
    QMenu *stamps = NewChoicesMenu(box, "TimeStampFormat", "Time stamp format", kStampChoices);
    for (QAction *item : stamps->actions())
        BindRxViewItem(item, TRxViewOptions::kStampFormat);
    stamps->addSeparator();
    QAction *inLog = NewItem(*stamps, {"StampsInLog", "Same in log", nullptr});
    BindRxViewItem(inLog, TRxViewOptions::kStampsInLog);
    stamps->addAction(inLog);
    QMenu *scrollBack = NewChoicesMenu(box, "ScrollBack", "Scroll-back", kScrollBackChoices);
    for (QAction *item : scrollBack->actions())
        BindRxViewItem(item, TRxViewOptions::kScrollBack);
    QAction *rows = NewItem(box, {"HexDumpRows", "Hex dump rows", nullptr});
    BindRxViewItem(rows, TRxViewOptions::kHexDumpRows);
    rows->setEnabled(m_ui->RxMemoHex->isChecked());
    connect(m_ui->RxMemoHex, &QAbstractButton::toggled, rows, &QAction::setEnabled);
    m_ui->RxMemo->AddMenuActions({stamps->menuAction(), scrollBack->menuAction(), rows});
}

// An item with a value (its data) is one of a group of choices; one without is a check item,
// True or False.
void TMainForm::BindRxViewItem(QAction *item, const char *name)
{
    const QString option = QString::fromLatin1(name);
    const QString value = item->data().toString();
    const bool isCheck = value.isEmpty();
    item->setChecked(RxView().Text(option) == (isCheck ? QStringLiteral("True") : value));
    connect(item, &QAction::triggered, this, m_app.Guard([this, item, option, value, isCheck] {
                SetRxViewOption(option, isCheck ? QString::fromLatin1(item->isChecked() ? "True" : "False") : value);
            }));
}

// The choice holds for this run even when the store cannot keep it.
void TMainForm::SetRxViewOption(const QString &name, const QString &text)
{
    RxView().Set(name, text);
    UserOptions::SetText(name, RxView().Text(name));
}
