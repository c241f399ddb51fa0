#pragma once

#include "color.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QTimer>

// The application's hint (tooltip) settings: colour, the pauses before a hint shows, before the
// next one follows and before it hides, and the switch that turns hints off. One per application.
class TAppHints : public QObject
{
    Q_OBJECT
public:
    /// The application's instance, created on first use as a child of the application object.
    static TAppHints &Instance();

    TColor Color() const { return m_color; }
    void SetColor(TColor color);
    int Pause() const { return m_pause; }
    void SetPause(int ms);
    int ShortPause() const { return m_shortPause; }
    void SetShortPause(int ms);
    int HidePause() const { return m_hidePause; }
    void SetHidePause(int ms);
    bool ShowHint() const { return m_showHint; }
    void SetShowHint(bool show);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit TAppHints(QObject *parent);
    void ApplyWakeUpDelay();
    bool HandleToolTip(QWidget *widget, QPoint globalPos);
    void ShowPending();

    TColor m_color = clInfoBk;
    int m_pause = 500;
    int m_shortPause = 50;
    int m_hidePause = 2500;
    bool m_showHint = true;
    QTimer m_pending;
    QPointer<QWidget> m_pendingWidget;
    QPoint m_pendingPos;
};
