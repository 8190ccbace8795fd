#pragma once

#include <QFrame>

namespace ventix {

// The ribbon `pCinta`: a lowered panel holding the tool panels, whose
// caption (drawn under them) prompts the user while a roller is interlocked.
class TPanelCinta : public QFrame {
    Q_OBJECT
public:
    explicit TPanelCinta(QWidget* Padre);
    void SetCaption(const QString& C);
    const QString& Caption() const { return Texto; }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QString Texto;
};

} // namespace ventix
