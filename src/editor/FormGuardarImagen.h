#pragma once

#include <QDialog>

#include <functional>

class QFileDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace ventix {

class TAerPaintBox;

// The save-image dialog: a picture of what the canvas shows, scaled, to a
// BMP, JPEG or PNG file or to the clipboard. Created once; the scale and the
// choices stay from one opening to the next.
class TfrmSaveImage : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSaveImage(QWidget* Parent = nullptr);

    // Set by the main window before the first opening.
    TAerPaintBox* Lienzo = nullptr;

    QGroupBox* rgDestino;
    QRadioButton *rbArchivo, *rbPortapapeles;
    QGroupBox* rgFormato;
    QRadioButton *rbBitmap, *rbJpeg;
    QGroupBox* rgEscala;
    QLineEdit* edEscala;
    QLabel *lblTamFinal, *lblTamInicial, *imMiniatura;
    QPushButton *btnOk, *btnCancel;

    // How the file dialog is run: unset, its own loop (tests replace it).
    // Answers the chosen file, or empty.
    std::function<QString(QFileDialog& Dialogo)> EjecutarDialogo;

    void FormShow();
    void edEscalaChange();
    void rgDestinoClick();
    void rgFormatoClick();
    void btnOkClick();

    double GetEscala() const { return Escala; }
    bool GetADisco() const { return ADisco; }
    bool GetEsBitmap() const { return EsBitmap; }

protected:
    void showEvent(QShowEvent* e) override;

private:
    void ActualizarTamFinal();
    double Escala = 1.0; // 0 while the typed scale is not valid
    bool ADisco = false;
    bool EsBitmap = false;
};

} // namespace ventix
