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

// The save-image dialog: a picture of the whole circuit or of what the
// canvas shows, scaled, to a BMP, JPEG, PNG, SVG or PDF file or to the
// clipboard. Created once; the scale and the choices stay from one opening to
// the next. Until the user chooses the area, vector files get the whole
// circuit and bitmaps the view.
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
    QGroupBox* rgArea;
    QRadioButton *rbTodo, *rbVista;
    QGroupBox* rgEscala;
    QLineEdit* edEscala;
    QLabel *lblTamFinal, *lblTamInicial, *imMiniatura;
    QPushButton *btnOk, *btnCancel;

    // How the file dialog is run: unset, its own loop (tests replace it).
    // Answers the chosen file, or empty.
    std::function<QString(QFileDialog& Dialogo)> EjecutarDialogo;
    // The circuit's file name for a page's footer; the picture's own when empty.
    QString NombreCircuito;

    void FormShow();
    void edEscalaChange();
    void rgDestinoClick();
    void rgFormatoClick();
    void rgAreaClick();
    void btnOkClick();

    double GetEscala() const { return Escala; }
    bool GetADisco() const { return ADisco; }
    bool GetEsBitmap() const { return EsBitmap; }
    bool GetTodo() const;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void ActualizarTamFinal();
    // Shows the area a picture of this kind gets unless the user chose one.
    void AreaPorOmision(bool Vectorial);
    // The picture, as chosen, into an image of the canvas's size times Factor.
    QImage Dibujar(double Factor);
    bool AreaElegida = false; // the user clicked one of the area's choices
    QString Filtro;           // the file dialog's filter chosen last
    double Escala = 1.0;      // 0 while the typed scale is not valid
    bool ADisco = false;
    bool EsBitmap = false;
};

} // namespace ventix
