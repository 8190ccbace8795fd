#pragma once

#include <QDialog>

namespace ventix {

// The about box: name, version, what the program is for, licence, credits.
class TfrmAcercaDe : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAcercaDe(QWidget* Padre);
};

} // namespace ventix
