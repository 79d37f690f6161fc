#pragma once

#include "meteo/base/wfailure.h"

#include <QString>

namespace nimbdesk
{

// Why a fetch of the reader failed, in words for the status line and its tooltip: "cannot connect to server",
// "not found (404)", "timed out", the server's own title of the problem. code is the reader's result (L_CONNECT,
// L_DB, ...); failure tells more of an L_CONNECT.
QString failureWords(int code, const meteo::WFailure &failure);

} // namespace nimbdesk
