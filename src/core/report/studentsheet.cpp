#include "report/studentsheet.h"

namespace StudentSheet {

namespace {

const QColor RoyalBlue(0x41, 0x69, 0xE1);

struct Box
{
    const char *caption;
    const char *value;
    double x, y, w;
    const char *header, *captionName, *frame;
};

// Row by row, in drawing order.
const Box Boxes[] = {
    {"LUOGO DI NASCITA", "txtLuogoNasc", 3.78, 578.27, 219.21, "Shape39", "Memo20", "Shape40"},
    {"DATA DI NASCITA", "txtDataNasc", 230.55, 578.27, 120.94, "Shape45", "Memo19", "Shape46"},
    {"SESSO", "txtSesso", 359.06, 578.27, 60.47, "Shape47", "Memo26", "Shape48"},
    {"INDIRIZZO", "txtIndirizzo", 427.09, 578.27, 287.24, "Shape37", "Memo18", "Shape38"},
    {"CITTA'", "txtCitta", 3.78, 631.18, 219.21, "Shape35", "Memo15", "Shape36"},
    {"CAP", "txtCap", 230.55, 631.18, 120.94, "Shape29", "Memo13", "Shape30"},
    {"NAZIONE", "txtNazione", 359.06, 631.18, 170.08, "Shape33", "Memo17", "Shape34"},
    {"CODICE FISCALE", "txtCodFisc", 536.69, 631.18, 177.64, "Shape5", "Memo3", "Shape6"},
    {"TITOLO DI STUDIO", "txtStudio", 3.78, 684.09, 347.72, "Shape31", "Memo16", "Shape32"},
    {"LINGUE CONOSCIUTE", "txtlingue", 359.06, 684.09, 355.28, "Shape1", "Memo1", "Shape2"},
    {"ESERCENTE POTESTA'", "txtEsercente", 3.78, 737.01, 347.72, "Shape19", "Memo8", "Shape20"},
    {"STATO CIVILE", "txtCivile", 359.06, 737.01, 170.08, "Shape43", "Memo24", "Shape44"},
    {"CITTADINANZA", "txtCittadinanza", 536.69, 737.01, 177.64, "Shape41", "Memo22", "Shape42"},
    {"CORSO", "txtCorso", 3.78, 789.92, 234.33, "Shape17", "Memo9", "Shape18"},
    {"CLASSE", "txtClasse", 245.67, 789.92, 105.83, "Shape27", "Memo14", "Shape28"},
    {"DATA INIZIO", "txtInizio", 359.06, 789.92, 170.08, "Shape25", "Memo11", "Shape26"},
    {"DATA FINE", "txtFine", 536.69, 789.92, 177.64, "Shape13", "Memo6", "Shape14"},
    {"E-MAIL", "txtEmail", 3.78, 842.84, 170.08, "Shape11", "Memo7", "Shape12"},
    {"TEL. CASA", "txtTel", 181.42, 842.84, 170.08, "Shape23", "Memo12", "Shape24"},
    {"TEL. CELLULARE", "txtCel", 359.06, 842.84, 170.08, "Shape21", "Memo10", "Shape22"},
    {"DATA ESAME FINALE", "txtDataEsame", 536.69, 842.84, 177.64, "Shape9", "Memo4", "Shape10"},
    {"COMMISSIONE ESAME FINALE", "txtCommissione", 3.78, 895.75, 525.35, "Shape7", "Memo5", "Shape8"},
    {"ESITO", "txtEsito", 536.69, 895.75, 177.64, "Shape49", "Memo21", "Shape50"},
    {"ASSENZE", "txtAssenze", 3.78, 948.66, 710.55, "Shape3", "Memo2", "Shape4"},
    {"NOTE", "txtNote", 3.78, 1001.58, 710.55, "Shape15", "titRaccomandazioni", "Shape16"},
};

TextObject *sheetText(ReportPage &page, const QString &name, const QRectF &rect, double pixels, bool bold,
                      const QColor &colour)
{
    TextObject *text = page.addText(name, rect);
    text->fontFamily = QStringLiteral("Arial");
    text->fontPixels = pixels;
    text->bold = bold;
    text->colour = colour;
    text->vAlign = TextObject::VAlign::Center;
    text->wordWrap = false;
    text->allowExpressions = false;
    return text;
}

} // namespace

std::unique_ptr<Report> create(QObject *parent)
{
    auto report = std::make_unique<Report>(QStringLiteral("repDocumento"), QStringLiteral("Scheda studente"), parent);
    report->previewButtons = Report::pbPrint | Report::pbZoom | Report::pbFullScreen | Report::pbClose;
    report->allowEdit = false;
    ReportPage &page = report->firstPage();
    page.name = QStringLiteral("Page1");
    page.setPaper(ReportPage::PaperA4, 210.0, 297.0);
    page.setOrientation(ReportPage::Orientation::Portrait);
    page.setMargins(10.0, 10.0, 10.0, 10.0);

    const double small = Length::pt(8).toPx();

    page.addPicture(QStringLiteral("imgLogo"), QRectF(3.78, 41.57, 710.55, 529.13))->center = true;
    RectObject *bar = page.addRect(QStringLiteral("shpTitolo"), QRectF(3.78, 3.78, 710.55, 30.24));
    bar->fill = RoyalBlue;
    bar->outline = RoyalBlue;
    TextObject *name = sheetText(page, QStringLiteral("txtStudente"), QRectF(7.56, 8.31, 702.99, 22.68), 16.0,
                                 false, Qt::white);
    name->hAlign = TextObject::HAlign::Center;
    name->setText(QStringLiteral("Nome"));

    for (const Box &box : Boxes) {
        const QString value = QString::fromLatin1(box.value);
        RectObject *header = page.addRect(QString::fromLatin1(box.header), QRectF(box.x, box.y, box.w, 18.14));
        header->fill = RoyalBlue;
        header->outline = RoyalBlue;

        QRectF captionRect(box.x + 3.78, box.y + 3.78, box.w - 7.56, 13.61);
        QRectF valueRect(box.x + 3.78, box.y + 24.19, box.w - 7.56, 15.12);
        if (value == QLatin1String("txtEsercente")) {
            captionRect.setWidth(339.40);
            valueRect = QRectF(box.x + 3.78, box.y + 22.68, 339.78, 15.12);
        } else if (value == QLatin1String("txtNote")) {
            captionRect = QRectF(box.x + 3.78, box.y + 2.27, 702.24, 13.61);
            valueRect.moveTop(box.y + 22.68);
        }
        sheetText(page, QString::fromLatin1(box.captionName), captionRect, small, true, Qt::white)
            ->setText(QString::fromUtf8(box.caption));

        page.addRect(QString::fromLatin1(box.frame), QRectF(box.x, box.y + 18.90, box.w, 22.68));
        TextObject *field = sheetText(page, value, valueRect, small, false, Qt::black);
        if (value == QLatin1String("txtSesso"))
            field->hAlign = TextObject::HAlign::Center;
    }
    return report;
}

QStringList fieldNames()
{
    return {QStringLiteral("txtStudente"), QStringLiteral("txtSesso"), QStringLiteral("txtDataNasc"),
            QStringLiteral("txtCittadinanza"), QStringLiteral("txtLuogoNasc"), QStringLiteral("txtIndirizzo"),
            QStringLiteral("txtCitta"), QStringLiteral("txtCap"), QStringLiteral("txtNazione"),
            QStringLiteral("txtCodFisc"), QStringLiteral("txtCivile"), QStringLiteral("txtEsercente"),
            QStringLiteral("txtStudio"), QStringLiteral("txtLingue"), QStringLiteral("txtEmail"),
            QStringLiteral("txtTel"), QStringLiteral("txtCel"), QStringLiteral("txtCorso"),
            QStringLiteral("txtClasse"), QStringLiteral("txtInizio"), QStringLiteral("txtFine"),
            QStringLiteral("txtAssenze"), QStringLiteral("txtCommissione"), QStringLiteral("txtDataEsame"),
            QStringLiteral("txtEsito"), QStringLiteral("txtNote")};
}

} // namespace StudentSheet
