#pragma once
// The open table recordsets a delivery message is built from. They belong to
// the open administration and outlive every build; the builders move
// RelatieGegevens, Ordergegevens, Artikelen and the code tables, and read
// UserGegevens at its current record.

#include "database/engine.h"

namespace typrosync {

struct MessageTables {
  TableRecordset& rsUserGegevens;
  TableRecordset& rsRelatieGegevens;
  TableRecordset& rsTabelLandcode;
  TableRecordset& rsOrdergegevens;
  TableRecordset& rsArtikelen;
  TableRecordset& rsTabelArtikelgroepen;
};

}  // namespace typrosync
