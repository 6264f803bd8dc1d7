#pragma once

#include <QPageLayout>
#include <QString>

class QPainter;
class QPagedPaintDevice;

// The customer card: an 84 x 42 mm page with 5 mm margins holding the shop's web address, the
// Code 128 C barcode of the card code and, beside it, the customer number in 20 pt.
struct TCustomerCard {
    QString cardCode;
    QString web;
    QString shopName;
};

QPageLayout CustomerCardPageLayout();

// Draws the card's contents on a painter whose origin is the top-left corner inside the margins;
// dotsPerMm is the painter's device resolution per millimetre.
void DrawCustomerCard(QPainter& painter, double dotsPerMm, const TCustomerCard& card);
// Prints the card as one page on the device (a printer, a PDF writer), set to the card's page.
// Fails when the device does not take the page.
void PrintCustomerCard(QPagedPaintDevice& device, const TCustomerCard& card);
