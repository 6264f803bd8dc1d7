#pragma once

#include <QListWidget>

// A list of checkable items (a title's subtitles and language versions). Read-only shows the
// checks but neither mouse nor keyboard changes them.
class TMoxCheckListBox final : public QListWidget {
    Q_OBJECT

public:
    explicit TMoxCheckListBox(QWidget* parent = nullptr);

    bool isReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly);

    QListWidgetItem* addCheckItem(const QString& text, bool checked = false);
    bool isChecked(int row) const;
    void setChecked(int row, bool checked);

    QSize sizeHint() const override;

protected:
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void updateColors();

    bool m_readOnly = false;
};
