#pragma once

#include "meteo/reader/walerts_p.h"

namespace meteo
{

// The reader's operations that fetch a text, one per kind of text.
enum class WApiProduct { Forecast, Warnings, Watches, Statements, Discussion, Summary, Public };

// Where each kind of text comes from: its state page and how the page's messages are picked, and what the web
// service gives in its place.
struct WProductKind {
    WApiProduct product;
    // The state page below WarningsBase and the short state: "/zone.html".
    const char *page;
    // The product type of messages headed by the place's station ('FXUS63 KDMX 051744'); null for messages headed
    // by the place's forecast zone.
    const char *prefix;
    // What the info line says is being fetched: "Getting weather discussion...".
    const char *description;
    // Only the first message for the zone.
    bool firstOnly;
    // The web service's product type ("AFD"), or null for the alerts of the kind below.
    const char *apiType;
    WAlertKind alertKind;
};

const WProductKind &productKind(WApiProduct product);

} // namespace meteo
