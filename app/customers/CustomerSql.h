#pragma once

#include <QDateTime>
#include <QString>

// The customer register's statements and texts. Every text typed by the clerk reaches a
// statement only as an escaped literal.

// What the desk's fields hold of a customer.
struct TCustomerFields {
    QString TitulPred;
    QString Jmeno;
    QString Prijmeni;
    QString TitulZa;
    QString AdrUlice;
    QString AdrPsc;
    QString AdrObec;
    QString CisloOP;
    QString Email;
    QString Telefon;
    QString MobilSms;
    QString Poznamky;
    bool Vip = false;
    double CenaVipDvd = 0;
    double CenaVipVhs = 0;
    bool PosilatNovinky = false;
};

// A card code longer than 6 characters is looked up as a code, a shorter text as a number.
QString CustomerByCodeSql(const QString& typed);
QString CustomerBySurnameSql(const QString& surname);
// The customer with the names of the users who registered, last changed and ended it.
QString CustomerLoadSql(int key);
QString CustomerInsertSql(int key, int user, const QString& cardCode, const TCustomerFields& fields);
// Writes the fields that differ from those loaded, and who changed the customer when.
QString CustomerUpdateSql(int key, int user, const TCustomerFields& loaded, const TCustomerFields& fields,
                          bool ending);

QString CustomerNotFoundText(const QString& typed);

// Characters 11 to 16 of a card code: the customer number with leading zeros.
QString CardNumberPart(const QString& cardCode);

// A timestamp as the customer screens show it ("dd.mm.yyyy hh:mm"); none gives the empty text.
QString TimestampText(const QDateTime& value);
