#pragma once

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

#include <memory>

class TDMGlobDB;
class TTransaction;

// Covers, title pictures and customer photos are JPEG files kept byte for byte in blob columns.

// The filter of the file-open dialog for pictures.
QString JpegFileFilter();
// The caption of the file-open dialog for pictures.
QString JpegOpenCaption();

// A picture blob read as an image; a null or unreadable blob is no picture.
QImage PictureFromBlob(const QByteArray& blob);
// A picked file as an image; fails with a message when it is not a readable picture.
QImage LoadPictureFile(const QString& path);
// The bytes a picture column takes from a picked or scanned file: a JPEG file's bytes unchanged,
// any other picture converted to JPEG; fails with a message when the file is no readable picture.
QByteArray ReadPictureFile(const QString& path);

class TScanFile;

// A desk's picture field since loading: the file chosen (empty when the picture was removed)
// and whether anything was done to it. A field naming a scan keeps the scan's temporary file;
// the file goes once no field names it any more (the record saved or the change dropped).
struct TPictureField {
    TPictureField() = default;
    TPictureField(QString path, bool changed);

    QString path;
    bool changed = false;

private:
    std::shared_ptr<const TScanFile> scan_;
};

// Writes a changed field: the file's bytes unchanged, or null when it has no file. The where
// clause names the record, for example "KOD_ZAK = 12". Nothing happens for an unchanged field.
void StorePicture(TDMGlobDB& db, TTransaction& transaction, const QString& table, const QString& column,
                  const QString& where, const TPictureField& field);

// The rectangle between two corners of a selection, whichever way it was dragged.
QRect SelectionRect(QPoint start, QPoint end);
// The part of the picture inside the rectangle; the rectangle is cut to the picture first.
QImage CropPicture(const QImage& picture, const QRect& rect);
// The picture turned clockwise by 0, 90, 180 or 270 degrees.
QImage RotatePicture(const QImage& picture, int degrees);
// Writes the picture as a new JPEG file in the program's folder of scans and returns its path.
// The file lasts while a picture field names it, at the latest until the program ends. An empty
// picture writes nothing and returns the empty text.
QString WritePictureJpeg(const QImage& picture);
