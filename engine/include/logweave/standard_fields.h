#pragma once
// Indices of the standard fields in the field table, 0 when the log lacks one.

#include "logweave/field_table.h"

namespace logweave {

struct StandardFields {
    int qsoDate = 0;
    int timeOn = 0;
    int band = 0;
    int call = 0;
    int mode = 0;
    int submode = 0;
    int operatorCall = 0;
    int notes = 0;
    int comment = 0;
    int qsoDateOff = 0;
    int timeOff = 0;
    int gridsquare = 0;
    int freq = 0;
    int rstSent = 0;
    int rstRcvd = 0;
    int txPwr = 0;
    int name = 0;
};

// Only the date falls back: a typed date is the usual form of confirmation services.
StandardFields findStandardFields(const FieldTable& fields);

}  // namespace logweave
