#pragma once

#include <QWidget>

#include <string>
#include <vector>

class QPlainTextEdit;

namespace ventix {

// The error window: the report of the last circuit check, kept open beside
// the editor if the student wants to.
class TfrmErrores : public QWidget {
    Q_OBJECT
public:
    TfrmErrores();
    void SetLineas(const std::vector<std::string>& Lineas);
    QString Texto() const;
    QPlainTextEdit* Memo1;
};

} // namespace ventix
