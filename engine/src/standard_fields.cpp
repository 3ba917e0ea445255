#include "logweave/standard_fields.h"

namespace logweave {

StandardFields findStandardFields(const FieldTable& fields)
{
    StandardFields s;
    s.Idx_QSO_DATE = fields.FindField("QSO_DATE:D");
    if (s.Idx_QSO_DATE == 0)
        s.Idx_QSO_DATE = fields.FindField("QSO_DATE");
    s.Idx_TIME_ON = fields.FindField("TIME_ON");
    s.Idx_BAND = fields.FindField("BAND");
    s.Idx_CALL = fields.FindField("CALL");
    s.Idx_MODE = fields.FindField("MODE");
    s.Idx_SUBMODE = fields.FindField("SUBMODE");
    s.Idx_OPERATOR = fields.FindField("OPERATOR");
    s.Idx_NOTES = fields.FindField("NOTES");
    s.Idx_COMMENT = fields.FindField("COMMENT");
    s.Idx_QSO_DATE_OFF = fields.FindField("QSO_DATE_OFF");
    s.Idx_TIME_OFF = fields.FindField("TIME_OFF");
    s.Idx_GRIDSQUARE = fields.FindField("GRIDSQUARE");
    s.Idx_FREQ = fields.FindField("FREQ");
    s.Idx_RST_SENT = fields.FindField("RST_SENT");
    s.Idx_RST_RCVD = fields.FindField("RST_RCVD");
    s.Idx_TX_PWR = fields.FindField("TX_PWR");
    s.Idx_NAME = fields.FindField("NAME");
    return s;
}

}  // namespace logweave
