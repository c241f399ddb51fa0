#pragma once

#include <QAccessibleWidget>

class TMemoView;

// Lets screen readers read a TMemoView as the read-only multi-line text box it stands for:
// the text role, the text interface with selection and caret, no editing.
class TMemoAccessible : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit TMemoAccessible(TMemoView *view);
    // Registers the factory once per process; every TMemoView calls it.
    static void Install();

    QAccessible::State state() const override;
    QString text(QAccessible::Text kind) const override;
    void *interface_cast(QAccessible::InterfaceType type) override;

    void selection(int selectionIndex, int *startOffset, int *endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int *startOffset, int *endOffset) const override;

private:
    TMemoView *View() const;
};
