#pragma once

namespace meteo
{

// How long one fetch (a web page or an answer of the web service) may take. A server that accepts the connection
// and then sends a byte now and then must cost one kind of result, never the whole update cycle, so every transfer
// ends within wholeSeconds, and earlier when it moves fewer than slowBytesPerSecond for slowSeconds on end.
struct WFetchLimits {
    long connectSeconds = 15;
    long wholeSeconds = 60;
    long slowBytesPerSecond = 100;
    long slowSeconds = 20;
};

} // namespace meteo
