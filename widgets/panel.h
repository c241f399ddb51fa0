#pragma once

#include <QFrame>

// A plain container that keeps a side of its parent: a top- or bottom-aligned panel has the
// height it is given, a client-aligned one fills what its siblings leave and ignores Height.
// The parent's box layout does the placing; the panel only says which part it takes.
//
// A parent too short for every height its panels were given does not grow for them: a side
// panel whose contents are laid out gives way, down to what its contents need, and takes its
// height back when there is room again. Height keeps the height the panel was given.
class TPanel : public QFrame
{
    Q_OBJECT
    Q_PROPERTY(TAlign Align READ Align WRITE SetAlign)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
public:
    enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
    Q_ENUM(TAlign)

    explicit TPanel(QWidget *parent = nullptr);

    TAlign Align() const { return m_align; }
    void SetAlign(TAlign align);
    int Height() const;
    // Negative heights count as 0; heights beyond any widget's are cut to the largest.
    void SetHeight(int height);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

private:
    bool KeepsHeight() const;
    void ApplyHeight();

    TAlign m_align = alNone;
    int m_height = 0;
};
