#pragma once

#include "rxfind.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;

// The find bar under the receive box: the text to find, Previous and Next, Match case and the
// count of matches. Marks the matches in sight and scrolls to the current one. While rows
// arrive it searches again with the box's frames, but spends no more than a fifth of the time
// on it however much the box holds. F3 and Shift+F3 act only while the bar has the focus, so
// that elsewhere they stay the window's hot keys.
class TFindBar : public QWidget
{
    Q_OBJECT
public:
    // box: the box searched; must outlive the bar or take its marks along when it goes.
    explicit TFindBar(TMemoView &box, QWidget *parent = nullptr);
    ~TFindBar() override;

    // Read at every search: whether the box shows HEX values, where queries find byte runs.
    std::function<bool()> HexMode;

    // Shows the bar, selects its text and searches from the top of the view.
    void Open();
    // Hides the bar, takes the marks away and gives the focus back to the box.
    void Close();
    void FindNext();
    void FindPrevious();
    // Searches again where the view is, as when HexMode's answer has changed.
    void Refresh();
    const TRxFind &Find() const { return m_find; }

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    static constexpr int kCostShare = 5;

    void Search();
    void RowsChanged();
    void Scan();
    void ShowCurrent();
    QWidget *AddButton(const QString &text, const char *name, const QString &tip);

    QPointer<TMemoView> m_box;
    TRxFind m_find;
    QLineEdit *m_text;
    QCheckBox *m_matchCase;
    QLabel *m_count;
    QTimer m_rescan;
    QElapsedTimer m_sinceScan;
    qint64 m_scanMs = 0;
};
