#include "logweave/standard_fields.h"

namespace logweave {

StandardFields findStandardFields(const FieldTable& fields)
{
    StandardFields s;
    s.qsoDate = fields.indexOf("QSO_DATE:D");
    if (s.qsoDate == 0)
        s.qsoDate = fields.indexOf("QSO_DATE");
    s.timeOn = fields.indexOf("TIME_ON");
    s.band = fields.indexOf("BAND");
    s.call = fields.indexOf("CALL");
    s.mode = fields.indexOf("MODE");
    s.submode = fields.indexOf("SUBMODE");
    s.operatorCall = fields.indexOf("OPERATOR");
    s.notes = fields.indexOf("NOTES");
    s.comment = fields.indexOf("COMMENT");
    s.qsoDateOff = fields.indexOf("QSO_DATE_OFF");
    s.timeOff = fields.indexOf("TIME_OFF");
    s.gridsquare = fields.indexOf("GRIDSQUARE");
    s.freq = fields.indexOf("FREQ");
    s.rstSent = fields.indexOf("RST_SENT");
    s.rstRcvd = fields.indexOf("RST_RCVD");
    s.txPwr = fields.indexOf("TX_PWR");
    s.name = fields.indexOf("NAME");
    return s;
}

}  // namespace logweave
