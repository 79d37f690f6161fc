<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>CAlertNotifier</name>
    <message>
        <source>1 warning</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%n warnings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 watch</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%n watches</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 statement</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%n statements</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 other alert</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%n other alerts</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CAutostart</name>
    <message>
        <source>The folder %1 cannot be created.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 cannot be written: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 cannot be removed: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CFreshness</name>
    <message>
        <source>discussion</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>summary</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>public information</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>watches</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>statements</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>warnings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>forecast</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>observation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 and %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1, %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Observed %1, %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Observed %1, ahead of this computer&apos;s clock</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Observed %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>observed %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>observed %1, ahead of the clock</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>updated, observed %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not updated (%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>updated.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>nothing in force for the place.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not updated (%1); showing the text of %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>not updated (%1); the text of %2 was dropped, older than %n hours.</source>
        <translation>
            <numerusform>not updated (%1); the text of %2 was dropped, older than %n hour.</numerusform>
            <numerusform>not updated (%1); the text of %2 was dropped, older than %n hours.</numerusform>
        </translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last updated: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last full update: %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No full update yet.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 and other errors</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No update succeeded since %1: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last full update %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 not updated: %2. %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[as of %1] %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 — alerts changed %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Showing the values of %1 until the first update.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CKeptValues</name>
    <message>
        <source>The values kept from the last run were not used: %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The last values cannot be kept for the next start: %1.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CNotifyPpg</name>
    <message>
        <source>Warnings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Watches</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Statements</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Advisories and other alerts</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ask the desktop to play a sound</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>An alarm for extreme alerts</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A warning sound for severe alerts</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A message sound for the others</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Send extreme alerts and tornado and flash flood warnings again every 30 seconds until I see them (10 minutes at most)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Speak extreme and severe alerts</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Moderate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Severe</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Extreme</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CPlaceFinder</name>
    <message>
        <source>%1 km</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (nearest to the ZIP code, %2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (station %2, %3 away)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (%2 away)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CStationNote</name>
    <message>
        <source>at %1 %2: %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Observed at %1 %2: %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (%2 km)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (%2, %3 km)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 has no report</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 has not reported since %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CUpdateThread</name>
    <message>
        <source>The weather service asked to wait until %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DataDir</name>
    <message>
        <source>it is missing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a folder stands in its place, not a regular file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a FIFO stands in its place, not a regular file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a device stands in its place, not a regular file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a socket stands in its place, not a regular file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the program may not read it</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FailureWords</name>
    <message>
        <source>the server reports &quot;%1&quot; (%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not found (404)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the server answered with status %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot connect to server</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>host not found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>timed out</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>stopped</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the server&apos;s answer could not be read</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>nothing for the place on the server</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the place has no weather station</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the place has no forecast zone</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>out of memory</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ForecastWords</name>
    <message>
        <source>%1°F</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1°C</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>High %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Low %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>high %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>low %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>chance of rain %1 percent</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1% %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>dew point %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>humidity %1%</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>wind %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>chance of precipitation %1%</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LMessageKind</name>
    <message>
        <source>Warnings and advisories</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Forecast discussion</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Weather summary</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Watches</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Special weather statements</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Public information</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ProgressWords</name>
    <message>
        <source>current conditions</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>forecast</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>warnings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>watches</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>special statements</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>weather discussion</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>weather summary</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>public messages</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reading data from server...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error: cannot connect to server</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error: cannot read the server&apos;s answer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error: cannot obtain conditions</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>, observed %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>, an old reading</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TimeText</name>
    <message numerus="yes">
        <source>%n min ago</source>
        <translation>
            <numerusform>%n min ago</numerusform>
            <numerusform>%n min ago</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n days ago</source>
        <translation>
            <numerusform>%n day ago</numerusform>
            <numerusform>%n days ago</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n h ago</source>
        <translation>
            <numerusform>%n h ago</numerusform>
            <numerusform>%n h ago</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Read the location files (cities.ldt and the others) from DIR.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DIR</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep the settings in DIR instead of ~/.config/Nimbrel.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start hidden in the tray (shown where the desktop has no tray).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Current weather, forecast and warnings for a place in the United States, from the National Weather Service.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The location files (cities.ldt and the others) were not found in:
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The location file %1 in the folder
%2
is damaged: its places cannot be read.

Reinstall Nimbrel to restore its location files, or start it with --data-dir naming a folder that holds sound ones.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The location file %1 in the folder
%2
cannot be read: %3.

Reinstall Nimbrel to restore its location files, or start it with --data-dir naming a folder that holds sound ones.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>nimbdesk::CAboutDlg</name>
    <message>
        <source>About %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;b&gt;%1&lt;/b&gt; Version %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Weather data: the US National Weather Service.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Current conditions, the zone forecast and special messages for a place in the United States.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>nimbdesk::CAlertNotifier</name>
    <message>
        <source>%1 in force for %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> and </source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n more alerts for %1</source>
        <translation>
            <numerusform>%n more alert for %1</numerusform>
            <numerusform>%n more alerts for %1</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 — %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%1 (%n)</source>
        <translation>
            <numerusform>%1 (%n)</numerusform>
            <numerusform>%1 (%n)</numerusform>
        </translation>
    </message>
    <message>
        <source>Alerts cannot be spoken: the speech service cannot be reached</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot keep the choice not to notify %1 again: the settings cannot be written</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 will not be notified again; Edit &gt; Options &gt; Notifications undoes it</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file of notified alerts %1 is damaged: only its first megabyte was read</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot remember notified alerts in %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>nimbdesk::CDesktopNotifier</name>
    <message>
        <source>Show</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Don&apos;t notify me of %1 again</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>nimbdesk::CEventList</name>
    <message>
        <source>Never notify me of these events (they still show in the tickers):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The events most issued.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All events of the weather service.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Asking the weather service for the names of all events...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no event names in its answer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The events most issued: the weather service could not give all (%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The events the weather service gave before: it could not be asked again (%1).</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>nimbdesk::CForecastCell</name>
    <message>
        <source>%1% precip.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>nimbdesk::CForecastPanel</name>
    <message>
        <source>Show the next 48 hours</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>nimbdesk::CForecastStrip</name>
    <message>
        <source>Forecast periods</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Old forecast, issued %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not updated, forecast from %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>nimbdesk::CGeneralPpg</name>
    <message>
        <source>Temperature</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Celsius</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fahrenheit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wind Speed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MPH</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>KM/H</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pressure</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Inches Hg</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>mm Hg</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>hPa</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>General</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The update interval must be a whole number of minutes from %1 to %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Update Every</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>min</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Control&apos;s font</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Header&apos;s font</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Control&apos;s foreground</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Control&apos;s background</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start Nimbrel when I log in</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start at login</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>nimbdesk::CHourChart</name>
    <message>
        <source>Next 48 hours</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>now</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>nimbdesk::CInternetPpg</name>
    <message>
        <source>Current conditions URL</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Internet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Forecast and special messages</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NWS web service</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>State product pages</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Web service URL</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Special messages URL</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Proxy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use proxy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Proxy Address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>optional, e.g. you@example.com</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Contact (e-mail) for the weather service</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use a nearby station when the place&apos;s station is quiet</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>nimbdesk::CLocationDlg</name>
    <message>
        <source>Select Location</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Selected:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>State</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Filter states</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>City</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Filter cities</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please select state and city</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>nimbdesk::CMainDlg</name>
    <message>
        <source>Forecast</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Special</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>An update could not be shown: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show the whole forecast</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show the whole text of the special messages</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Special messages</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Temperature</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dew Point</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wind</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pressure</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Update Now</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Select Location</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 — %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saved places left out: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>nimbdesk::CNotifyPpg</name>
    <message>
        <source>Notify me of</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Notify for alerts at least:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sound</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Notifications</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The speech service cannot be reached: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Checking</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check for new alerts every</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>minutes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Only the alerts are asked for between two updates; the web service answers &quot;unchanged&quot; in a few bytes while nothing changed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The place&apos;s point</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Its county and forecast zone</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Alerts for:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The point gets the alerts whose area covers the place itself; the county and zone also those for elsewhere in them, some of which do not reach the place.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>With the state product pages as the source, the alerts are checked with each update, for the place&apos;s forecast zone.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>nimbdesk::COptionsSheet</name>
    <message>
        <source>Options</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>nimbdesk::CPlaceFinder</name>
    <message>
        <source>Find a place: name, ZIP code, station or coordinates</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Find a place</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Places found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Places cannot be searched: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No place found</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>nimbdesk::CPlaceSwitcher</name>
    <message>
        <source>Show another saved place (Ctrl+1 to Ctrl+9)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saved places</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Places</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 — ⚠ %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Places ⚠</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>nimbdesk::CRetrievalPpg</name>
    <message>
        <source>Retrieval</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>nimbdesk::CSavedPlacesEdit</name>
    <message>
        <source>My places</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;My places</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Add to my places</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move &amp;up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move do&amp;wn</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>nimbdesk::CSettingsNotice</name>
    <message>
        <source>its settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the setting %1/%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings not saved: %1 (%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nimbrel cannot save %1 in
%2

Reason: %3.

What you choose stays in effect until Nimbrel ends, and is lost then. %4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The disk that holds that folder is full: make room on it, or start Nimbrel with --settings-dir naming a folder on another disk.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Another program keeps the settings file locked, perhaps a Nimbrel that no longer responds: end it, then choose again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Make that folder writable, or start Nimbrel with --settings-dir naming a folder it can write to.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings file mended: damaged lines left out or held to their range; the original is kept as %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The settings file
%1
was damaged. These lines were left out, or their numbers held to what the options accept:
%2

Every other setting was kept. The original file is kept as
%3</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>nimbdesk::CSingleInstance</name>
    <message>
        <source>Nimbrel is already running with the settings file %1, in another session whose window cannot be reached from here.

Close that Nimbrel first, or start this one with --settings-dir naming another folder.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>nimbdesk::CTickerPpg</name>
    <message>
        <source>Font</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Text color</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Forecast Ticker</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Special Messages Ticker</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scrolling speed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;- Faster</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Slower-&gt;</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>nimbdesk::CTrayIcon</name>
    <message>
        <source>&amp;Update Now</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Show</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Places</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>nimbdesk::CWeatherLine</name>
    <message>
        <source>Weather in words</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1, observed %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>nimbdesk::CWgauge</name>
    <message>
        <source>old</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>spokenReading</name>
    <message>
        <source>degrees Celsius</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>degrees Fahrenheit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>miles per hour</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>kilometers per hour</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>inches of mercury</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>millimeters of mercury</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>hectopascals</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>north</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>east</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>south</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>west</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>, gusts </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>variable</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>from the </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no reading</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
