#pragma once

#include "color.h"
#include "notifyevent.h"

#include <QObject>

#include <functional>

// Application-wide events for a window: activation changes of the whole application, and the
// application's hint settings as properties a window description can set.
class TAppEvents : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool Chained READ Chained WRITE SetChained)
    Q_PROPERTY(uint HintColor READ HintColor WRITE SetHintColor)
    Q_PROPERTY(int HintPause READ HintPause WRITE SetHintPause)
    Q_PROPERTY(int HintShortPause READ HintShortPause WRITE SetHintShortPause)
    Q_PROPERTY(int HintHidePause READ HintHidePause WRITE SetHintHidePause)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
    Q_PROPERTY(bool ShowMainForm READ ShowMainForm WRITE SetShowMainForm)
    Q_PROPERTY(bool UpdateFormatSettings READ UpdateFormatSettings WRITE SetUpdateFormatSettings)
    Q_PROPERTY(bool UpdateMetricSettings READ UpdateMetricSettings WRITE SetUpdateMetricSettings)

public:

    explicit TAppEvents(QObject *parent = nullptr);
    ~TAppEvents() override;

    /// False stops the walk after this instance, so older instances and the application's own
    /// handler do not hear of the change.
    bool Chained() const { return m_chained; }
    void SetChained(bool chained) { m_chained = chained; }

    TColor HintColor() const;
    void SetHintColor(TColor color);
    int HintPause() const;
    void SetHintPause(int ms);
    int HintShortPause() const;
    void SetHintShortPause(int ms);
    int HintHidePause() const;
    void SetHintHidePause(int ms);
    bool ShowHint() const;
    void SetShowHint(bool show);

    // Kept for window descriptions that set them; the platform has nothing to apply them to.
    bool ShowMainForm() const { return m_showMainForm; }
    void SetShowMainForm(bool show) { m_showMainForm = show; }
    bool UpdateFormatSettings() const { return m_updateFormatSettings; }
    void SetUpdateFormatSettings(bool update) { m_updateFormatSettings = update; }
    bool UpdateMetricSettings() const { return m_updateMetricSettings; }
    void SetUpdateMetricSettings(bool update) { m_updateMetricSettings = update; }

    /// Raised from the event loop after the application became active or inactive; the sender is
    /// the application object. Switching between the program's own windows raises neither.
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;

private:
    bool m_chained = true;
    bool m_showMainForm = true;
    bool m_updateFormatSettings = true;
    bool m_updateMetricSettings = true;
};
