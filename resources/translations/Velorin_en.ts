<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>Colorimeter</name>
    <message>
        <source>△E*ab</source>
        <translation>△E*ab</translation>
    </message>
    <message>
        <source>△E*uv</source>
        <translation>△E*uv</translation>
    </message>
    <message>
        <source>△E*94</source>
        <translation>△E*94</translation>
    </message>
    <message>
        <source>△E*cmc(2:1)</source>
        <translation>△E*cmc(2:1)</translation>
    </message>
    <message>
        <source>△E*cmc(1:1)</source>
        <translation>△E*cmc(1:1)</translation>
    </message>
    <message>
        <source>△E*cmc(1.4:1)</source>
        <translation>△E*cmc(1.4:1)</translation>
    </message>
    <message>
        <source>△E*00</source>
        <translation>△E*00</translation>
    </message>
</context>
<context>
    <name>FirstPageFor510</name>
    <message>
        <source>Device information</source>
        <translation>Device information</translation>
    </message>
    <message>
        <source>SN:</source>
        <translation>SN:</translation>
    </message>
    <message>
        <source>Firmware Version:</source>
        <translation>Firmware Version:</translation>
    </message>
    <message>
        <source> Comparison measurement</source>
        <translation> Comparison measurement</translation>
    </message>
    <message>
        <source>Scan Standard</source>
        <translation>Scan Standard</translation>
    </message>
    <message>
        <source>Scan Sample</source>
        <translation>Scan Sample</translation>
    </message>
    <message>
        <source>Set display parameter</source>
        <translation>Set display parameter</translation>
    </message>
    <message>
        <source>Haze/T</source>
        <translation>Haze/T</translation>
    </message>
    <message>
        <source>Haze</source>
        <translation>Haze</translation>
    </message>
    <message>
        <source>T</source>
        <translation>T</translation>
    </message>
    <message>
        <source>Lab</source>
        <translation>Lab</translation>
    </message>
    <message>
        <source>LCh</source>
        <translation>LCh</translation>
    </message>
    <message>
        <source>Yxy</source>
        <translation>Yxy</translation>
    </message>
    <message>
        <source>Haze/T/Lab</source>
        <translation>Haze/T/Lab</translation>
    </message>
    <message>
        <source>Setup</source>
        <translation>Setup</translation>
    </message>
    <message>
        <source>Count</source>
        <translation>Count</translation>
    </message>
    <message>
        <source>NG </source>
        <translation>NG </translation>
    </message>
    <message>
        <source>PASS </source>
        <translation>PASS </translation>
    </message>
    <message>
        <source>Total</source>
        <translation>Total</translation>
    </message>
    <message>
        <source>Set tolerance</source>
        <translation>Set tolerance</translation>
    </message>
    <message>
        <source>Haze Tolerance(0-100)±:</source>
        <translation>Haze Tolerance(0-100)±:</translation>
    </message>
    <message>
        <source>%</source>
        <translation>%</translation>
    </message>
    <message>
        <source>T Tolerance(0-100)±:</source>
        <translation>T Tolerance(0-100)±:</translation>
    </message>
    <message>
        <source>△E Thresholds(0.1-50):</source>
        <translation>△E Thresholds(0.1-50):</translation>
    </message>
    <message>
        <source>Read tolerance</source>
        <translation>Read tolerance</translation>
    </message>
    <message>
        <source>△E parameter</source>
        <translation>△E parameter</translation>
    </message>
    <message>
        <source>△E formula:</source>
        <translation>△E formula:</translation>
    </message>
    <message>
        <source>△E Thresholds:</source>
        <translation>△E Thresholds:</translation>
    </message>
    <message>
        <source>Set parameter </source>
        <translation>Set parameter </translation>
    </message>
    <message>
        <source>Read parameter</source>
        <translation>Read parameter</translation>
    </message>
    <message>
        <source>Read comparison record</source>
        <translation>Read comparison record</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>Export Excel</source>
        <translation>Export Excel</translation>
    </message>
    <message>
        <source>Spectral transmittance</source>
        <translation>Spectral transmittance</translation>
    </message>
    <message>
        <source>Write stdcolor</source>
        <translation>Write stdcolor</translation>
    </message>
    <message>
        <source>UnKnow</source>
        <translation>UnKnow</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Please connect the device first!</source>
        <translation>Please connect the device first!</translation>
    </message>
    <message>
        <source>Failed to read device information!</source>
        <translation>Failed to read device information!</translation>
    </message>
    <message>
        <source>Warn</source>
        <translation>Warn</translation>
    </message>
    <message>
        <source>Read key infomation fail!</source>
        <translation>Read key infomation fail!</translation>
    </message>
    <message>
        <source>Read MeterNo Fail!</source>
        <translation>Read MeterNo Fail!</translation>
    </message>
    <message>
        <source>Failed to read software version number!</source>
        <translation>Failed to read software version number!</translation>
    </message>
    <message>
        <source>Failed to read DisplayParam!</source>
        <translation>Failed to read DisplayParam!</translation>
    </message>
    <message>
        <source>Failed to Read Tolerance information!</source>
        <translation>Failed to Read Tolerance information!</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Read successful!</source>
        <translation>Read successful!</translation>
    </message>
    <message>
        <source>Failed to read △E parameter information!</source>
        <translation>Failed to read △E parameter information!</translation>
    </message>
    <message>
        <source>Spectral reflectance</source>
        <translation>Spectral reflectance</translation>
    </message>
    <message>
        <source>PASS</source>
        <translation>PASS</translation>
    </message>
    <message>
        <source>NG</source>
        <translation>NG</translation>
    </message>
    <message>
        <source>More black</source>
        <translation>More black</translation>
    </message>
    <message>
        <source>Slight black</source>
        <translation>Slight black</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>Slight white</source>
        <translation>Slight white</translation>
    </message>
    <message>
        <source>More white</source>
        <translation>More white</translation>
    </message>
    <message>
        <source>More green</source>
        <translation>More green</translation>
    </message>
    <message>
        <source>Slight green</source>
        <translation>Slight green</translation>
    </message>
    <message>
        <source>Slight red</source>
        <translation>Slight red</translation>
    </message>
    <message>
        <source>More red</source>
        <translation>More red</translation>
    </message>
    <message>
        <source>More Blue</source>
        <translation>More Blue</translation>
    </message>
    <message>
        <source>Slight blue</source>
        <translation>Slight blue</translation>
    </message>
    <message>
        <source>Slight yellow</source>
        <translation>Slight yellow</translation>
    </message>
    <message>
        <source>More yellow</source>
        <translation>More yellow</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>English</source>
        <translation>English</translation>
    </message>
    <message>
        <source>中文</source>
        <translation>中文</translation>
    </message>
</context>
<context>
    <name>MeterPageFor510</name>
    <message>
        <source>Transmittance(%)</source>
        <translation>Transmittance(%)</translation>
    </message>
    <message>
        <source>Reflectance(%)</source>
        <translation>Reflectance(%)</translation>
    </message>
    <message>
        <source>Wavelength(nm)</source>
        <translation>Wavelength(nm)</translation>
    </message>
</context>
<context>
    <name>SimulatorWindow</name>
    <message>
        <source>Virtual instrument</source>
        <translation>Virtual instrument</translation>
    </message>
    <message>
        <source>Measure</source>
        <translation>Measure</translation>
    </message>
    <message>
        <source>Fill memory</source>
        <translation>Fill memory</translation>
    </message>
    <message numerus="yes">
        <source>%n record(s) in memory</source>
        <translation>
            <numerusform>%n record in memory</numerusform>
            <numerusform>%n records in memory</numerusform>
        </translation>
    </message>
    <message>
        <source>%1, serial number %2</source>
        <translation>%1, serial number %2</translation>
    </message>
    <message>
        <source>Plugged in</source>
        <translation>Plugged in</translation>
    </message>
    <message>
        <source>Unplugged</source>
        <translation>Unplugged</translation>
    </message>
    <message>
        <source>Unplug</source>
        <translation>Unplug</translation>
    </message>
    <message>
        <source>Plug in</source>
        <translation>Plug in</translation>
    </message>
</context>
<context>
    <name>setEParameterPageFor670</name>
    <message>
        <source>△E parameter Setting</source>
        <translation>△E parameter Setting</translation>
    </message>
    <message>
        <source>△E formula:</source>
        <translation>△E formula:</translation>
    </message>
    <message>
        <source>△E*ab</source>
        <translation>△E*ab</translation>
    </message>
    <message>
        <source>△E*uv</source>
        <translation>△E*uv</translation>
    </message>
    <message>
        <source>△E*94</source>
        <translation>△E*94</translation>
    </message>
    <message>
        <source>△E*cmc(2:1)</source>
        <translation>△E*cmc(2:1)</translation>
    </message>
    <message>
        <source>△E*cmc(1:1)</source>
        <translation>△E*cmc(1:1)</translation>
    </message>
    <message>
        <source>△E*cmc(1.4:1)</source>
        <translation>△E*cmc(1.4:1)</translation>
    </message>
    <message>
        <source>△E*00</source>
        <translation>△E*00</translation>
    </message>
    <message>
        <source>△E Thresholds:</source>
        <translation>△E Thresholds:</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>Ok</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Please connect the device first!</source>
        <translation>Please connect the device first!</translation>
    </message>
    <message>
        <source>information</source>
        <translation>information</translation>
    </message>
    <message>
        <source>Thresholds must between 0.1—50!</source>
        <translation>Thresholds must between 0.1—50!</translation>
    </message>
    <message>
        <source>Failed to write △E parameter information!</source>
        <translation>Failed to write △E parameter information!</translation>
    </message>
</context>
</TS>
