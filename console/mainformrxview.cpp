// The receive box's view additions, chosen in its right-click menu: the time stamps' form, the
// scroll-back and dump rows in HEX mode.
#include "mainform.h"

#include "ui_mainform.h"

#include "application.h"
#include "apperror.h"
#include "userstore.h"

#include <QActionGroup>
#include <QMenu>

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

QMenu *AddSubmenu(QMenu &menu, const char *object, const char *title)
{
    QMenu *submenu = menu.addMenu(QString::fromLatin1(title));
    submenu->setObjectName(QString::fromLatin1(object));
    return submenu;
}

QAction *AddItem(QMenu &menu, const TChoice &choice, QActionGroup *group = nullptr)
{
    QAction *item = menu.addAction(QString::fromUtf8(choice.Caption));
    item->setObjectName(QString::fromLatin1(choice.Object));
    item->setCheckable(true);
    item->setActionGroup(group);
    item->setData(QString::fromLatin1(choice.Value));
    return item;
}

} // namespace

void TMainForm::SetupRxView()
{
    m_rxView = TRxViewOptions::Load(TUserStore());
    m_ui->RxMemo->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_ui->RxMemo, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        QMenu *menu = CreateRxMemoMenu();
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(m_ui->RxMemo->viewport()->mapToGlobal(pos));
    });
}

QMenu *TMainForm::CreateRxMemoMenu()
{
    QMenu *menu = m_ui->RxMemo->CreateContextMenu();
    AddRxViewMenu(*menu);
    return menu;
}

void TMainForm::AddRxViewMenu(QMenu &menu)
{
    menu.addSeparator();
    QMenu *stamps = AddSubmenu(menu, "TimeStampFormatMenu", "Time stamp format");
    auto *stampGroup = new QActionGroup(stamps);
    for (const TChoice &choice : kStampChoices)
        BindRxViewItem(AddItem(*stamps, choice, stampGroup), TRxViewOptions::kStampFormat);
    stamps->addSeparator();
    BindRxViewItem(AddItem(*stamps, {"StampsInLog", "Same in log", nullptr}), TRxViewOptions::kStampsInLog);
    QMenu *scrollBack = AddSubmenu(menu, "ScrollBackMenu", "Scroll-back");
    auto *scrollGroup = new QActionGroup(scrollBack);
    for (const TChoice &choice : kScrollBackChoices)
        BindRxViewItem(AddItem(*scrollBack, choice, scrollGroup), TRxViewOptions::kScrollBack);
    QAction *rows = AddItem(menu, {"HexDumpRows", "Hex dump rows", nullptr});
    BindRxViewItem(rows, TRxViewOptions::kHexDumpRows);
    rows->setEnabled(m_ui->RxMemoHex->isChecked());
}

// An item with a value (its data) is one of a group of choices; one without is a check item,
// True or False.
void TMainForm::BindRxViewItem(QAction *item, const char *name)
{
    const QString option = QString::fromLatin1(name);
    const QString value = item->data().toString();
    const bool isCheck = value.isEmpty();
    item->setChecked(m_rxView.Text(option) == (isCheck ? QStringLiteral("True") : value));
    connect(item, &QAction::triggered, this, [this, option, value, isCheck](bool checked) {
        m_app.Run([&] { SetRxViewOption(option, isCheck ? QString::fromLatin1(checked ? "True" : "False") : value); });
    });
}

// The choice holds for this run even when the store cannot keep it.
void TMainForm::SetRxViewOption(const QString &name, const QString &text)
{
    m_rxView.Set(name, text);
    TUserStore store;
    if (!store.WriteText(TRxViewOptions::Key(), name, m_rxView.Text(name)))
        throw TAppError(QStringLiteral("Cannot store the option %1\n%2").arg(name, store.LastError()));
}
