#pragma once

#include <QFrame>

// A plain container that keeps a side of its parent: a top- or bottom-aligned panel has the
// height it is given, a client-aligned one fills what its siblings leave and ignores Height.
// The parent's box layout does the placing; the panel only says which part it takes.
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
    // Negative heights count as 0.
    void SetHeight(int height);

private:
    bool KeepsHeight() const;
    void ApplyHeight();

    TAlign m_align = alNone;
    int m_height = 0;
};
