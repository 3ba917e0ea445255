#pragma once
// Indices of the standard fields in the field table, 0 when the log lacks one.

#include "logweave/field_table.h"

namespace logweave {

struct StandardFields {
    int Idx_QSO_DATE = 0;
    int Idx_TIME_ON = 0;
    int Idx_BAND = 0;
    int Idx_CALL = 0;
    int Idx_MODE = 0;
    int Idx_SUBMODE = 0;
    int Idx_OPERATOR = 0;
    int Idx_NOTES = 0;
    int Idx_COMMENT = 0;
    int Idx_QSO_DATE_OFF = 0;
    int Idx_TIME_OFF = 0;
    int Idx_GRIDSQUARE = 0;
    int Idx_FREQ = 0;
    int Idx_RST_SENT = 0;
    int Idx_RST_RCVD = 0;
    int Idx_TX_PWR = 0;
    int Idx_NAME = 0;
};

// Only the date falls back: a typed date is the usual form of confirmation services.
StandardFields findStandardFields(const FieldTable& fields);

}  // namespace logweave
