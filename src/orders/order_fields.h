#pragma once
// The fields of Ordergegevens, OrderGegevensMeta and RelatieGegevens the
// order run reads, for the run's recordsets of those tables; each name is
// looked up once per run.

#include "database/administratie.h"
#include "database/record_field.h"

namespace typrosync {

struct OrderLineFields {
  explicit OrderLineFields(const TableRecordset& orders)
      : customer(orders, "RelNr"),
        order(orders, "OrderNr"),
        order_date(orders, "OrderDatum"),
        delivery_date(orders, "LeverDatum"),
        voucher(orders, "MagazijnBonNr"),
        article(orders, "ArtNr"),
        description1(orders, "Omschrijving1"),
        description2(orders, "Omschrijving2"),
        quantity(orders, "Aantal"),
        price_unit(orders, "PrijsPer"),
        sales_price(orders, "VerkoopPrijs"),
        invoice_weight(orders, "FactuurGewicht"),
        discount(orders, "KortingPercentage"),
        line_key(orders, "RelnrOrderdatumRegNrIndex") {}
  RecordField customer, order, order_date, delivery_date, voucher, article, description1,
      description2, quantity, price_unit, sales_price, invoice_weight, discount, line_key;
};

struct MetaFields {
  explicit MetaFields(const TableRecordset& meta)
      : order(meta, "OrderNr"),
        agrovision(meta, "LeveringNaarAgroVision"),
        dacom(meta, "LeveringNaarDacom") {}
  RecordField order, agrovision, dacom;
};

struct CustomerFields {
  explicit CustomerFields(const TableRecordset& relaties)
      : customer(relaties, "RelNr"),
        name(relaties, "bedrijfsnaam1"),
        town(relaties, "BedrijfsWoonplaats"),
        groups(relaties, "Relatiegroep") {}
  RecordField customer, name, town, groups;
};

struct OrderTableFields {
  explicit OrderTableFields(Administratie& admin)
      : lines(admin.Table("Ordergegevens")),
        meta(admin.Table("OrderGegevensMeta")),
        customers(admin.Table("RelatieGegevens")) {}
  OrderLineFields lines;
  MetaFields meta;
  CustomerFields customers;
};

}  // namespace typrosync
