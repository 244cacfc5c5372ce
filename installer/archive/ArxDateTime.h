// Date-time values of the platform as file times.
#pragma once

#include "installer/archive/ArxBase.h"
#include "installer/archive/SevenzipTypes.h"
#include "platform/rtl/DateTime.h"

DBI_DECLARE_EXCEPTION(EArxDateTimeError, EArxError);

// A local date-time (days since 1899-12-30, time as the fraction) as a UTC file time; raises
// EArxDateTimeError "Error illegal date or time format" when it cannot be converted.
sevenzip::FILETIME DateTimeToFileTime(TDateTime localValue);
