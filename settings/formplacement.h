#pragma once

#include "storesection.h"
#include "userstore.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSize>

#include <functional>

class QWidget;
struct TPlacementRecord;

// What the stored placement depends on about the screen; tests supply their own.
struct TScreenInfo
{
    QSize Size;
    int PixelsPerInch = 96;
    // Where a stored rectangle may go: every screen's area less panels and docks. Empty: the
    // primary screen's whole size.
    QList<QRect> WorkAreas;
};

// Keeps a window's placement (normal rectangle, minimized and maximized positions, normal /
// maximized / minimized) in the per-user store under the program key, section "WindowState".
// It restores at the window's first show and saves when the window is allowed to close, or when
// it is destroyed (the component's own destruction) without a save since the restore.
//
// Several components on one window form a chain: the one attached last handles the window's
// notifications and passes them on to the one attached before it, restoring before and saving
// after it. Errors of these passes go to OnError; nothing is thrown out of a notification.
class TFormPlacement : public QObject
{
    Q_OBJECT

public:
    // window must outlive the component (destroy the components first, last attached first).
    explicit TFormPlacement(QWidget *window);
    ~TFormPlacement() override;

    QString IniSection() const { return m_iniSection; }
    void SetIniSection(const QString &section) { m_iniSection = section; }
    int Version() const { return m_version; }
    void SetVersion(int version) { m_version = version; }
    bool Active() const { return m_active; }
    void SetActive(bool active) { m_active = active; }
    // "Software\" + the executable's base name, unless set.
    QString ProgramKey() const;
    void SetProgramKey(const QString &key) { m_programKey = key; }
    static QString StateKeyPath(const QString &executablePath);
    void SetStore(const TUserStore &store) { m_store = store; }
    void SetScreenInfo(std::function<TScreenInfo()> screen) { m_screen = std::move(screen); }

    // Shows the message of an error raised while handling a window notification.
    std::function<void(const QString &message)> OnError;

    // One restore pass; throws TAppError.
    void RestoreWindowState();
    // One save pass; throws TAppError. Does nothing before a restore pass has succeeded.
    void SaveWindowState();
    bool Restored() const { return m_restored; }
    bool Saved() const { return m_saved; }

protected:
    QWidget *Window() const { return m_window; }
    TStoreSection Section() const;
    TScreenInfo Screen() const;
    virtual void LoadStoredProperties(const TStoreSection &) {}
    virtual void SaveStoredProperties(TStoreSection &) {}
    // The destroy-time save when no save has happened; runs once. A derived component calls it
    // from its own destructor, while its part still exists.
    void HandleDestroy();
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void ReadWindowPlacement(const TStoreSection &section);
    bool ReadPositions(const TStoreSection &section, TPlacementRecord &record) const;
    QRect OnScreen(QRect normal) const;
    void ReadState(const TStoreSection &section);
    void WriteWindowPlacement(TStoreSection &section) const;
    void AdjustMaxPosition();
    QString ScreenSuffix() const;
    bool IsMainWindow() const;

    bool IsChainHead() const;
    void Detach();
    void HandleShow();
    void HandleCloseQuery(bool &canClose);
    void RunReporting(void (TFormPlacement::*pass)());
    void Report(const QString &message) const;

    QPointer<QWidget> m_window;
    QPointer<TFormPlacement> m_previous;
    QString m_iniSection = QStringLiteral("WindowState");
    int m_version = 0;
    bool m_active = true;
    QString m_programKey;
    TUserStore m_store;
    std::function<TScreenInfo()> m_screen;
    bool m_defaultPositioned = true;
    bool m_shown = false;
    bool m_restored = false;
    bool m_saved = false;
    bool m_destroying = false;
    bool m_destroyHandled = false;
};
