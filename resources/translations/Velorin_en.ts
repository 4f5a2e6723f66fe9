<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>AbPlot</name>
    <message>
        <source>△a*</source>
        <translation>△a*</translation>
    </message>
    <message>
        <source>△b*</source>
        <translation>△b*</translation>
    </message>
    <message>
        <source>%1 tolerance %2</source>
        <translation>%1 tolerance %2</translation>
    </message>
    <message>
        <source>△L*</source>
        <translation>△L*</translation>
    </message>
</context>
<context>
    <name>AnalysisPanel</name>
    <message>
        <source>Trend</source>
        <translation>Trend</translation>
    </message>
    <message>
        <source>a*b* plot</source>
        <translation>a*b* plot</translation>
    </message>
</context>
<context>
    <name>ChartExport</name>
    <message>
        <source>Save as PNG…</source>
        <translation>Save as PNG…</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>The chart could not be made into an image.</source>
        <translation>The chart could not be made into an image.</translation>
    </message>
    <message>
        <source>Save chart</source>
        <translation>Save chart</translation>
    </message>
    <message>
        <source>PNG image (*.png)</source>
        <translation>PNG image (*.png)</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>The chart could not be saved to %1.</source>
        <translation>The chart could not be saved to %1.</translation>
    </message>
</context>
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
    <message>
        <source>△</source>
        <translation>△</translation>
    </message>
    <message>
        <source>△E</source>
        <translation>△E</translation>
    </message>
    <message>
        <source>△Transmittance</source>
        <translation>△Transmittance</translation>
    </message>
    <message>
        <source>△Haze</source>
        <translation>△Haze</translation>
    </message>
    <message>
        <source>△T</source>
        <translation>△T</translation>
    </message>
    <message>
        <source>△E </source>
        <translation>△E </translation>
    </message>
    <message>
        <source>△E Thresholds</source>
        <translation>△E Thresholds</translation>
    </message>
    <message>
        <source>△E formula</source>
        <translation>△E formula</translation>
    </message>
</context>
<context>
    <name>ComparisonListModel</name>
    <message>
        <source>Haze</source>
        <translation>Haze</translation>
    </message>
    <message>
        <source>T</source>
        <translation>T</translation>
    </message>
    <message>
        <source>Mean of %1 readings</source>
        <translation>Mean of %1 readings</translation>
    </message>
    <message>
        <source>Spread of %1: %2</source>
        <translation>Spread of %1: %2</translation>
    </message>
</context>
<context>
    <name>ComparisonSession</name>
    <message>
        <source>Products</source>
        <translation>Products</translation>
    </message>
    <message>
        <source>Formula %1 is not one this instrument offers.</source>
        <translation>Formula %1 is not one this instrument offers.</translation>
    </message>
    <message>
        <source>Products are kept in the history, which is not open.</source>
        <translation>Products are kept in the history, which is not open.</translation>
    </message>
    <message>
        <source>There is no standard to save: measure the standard first.</source>
        <translation>There is no standard to save: measure the standard first.</translation>
    </message>
    <message>
        <source>The instrument has not been identified yet.</source>
        <translation>The instrument has not been identified yet.</translation>
    </message>
    <message>
        <source>The instrument's settings have not been read yet; read them before saving a product.</source>
        <translation>The instrument's settings have not been read yet; read them before saving a product.</translation>
    </message>
    <message>
        <source>Product %1 is retired.</source>
        <translation>Product %1 is retired.</translation>
    </message>
    <message>
        <source>Product %1 was saved for the %2; this instrument is a %3.</source>
        <translation>Product %1 was saved for the %2; this instrument is a %3.</translation>
    </message>
    <message>
        <source>Product %1 was saved with the record layout of other firmware; this instrument cannot take it.</source>
        <translation>Product %1 was saved with the record layout of other firmware; this instrument cannot take it.</translation>
    </message>
    <message>
        <source>This instrument cannot show display mode %1 of product %2.</source>
        <translation>This instrument cannot show display mode %1 of product %2.</translation>
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
    <message>
        <source>Transmittance</source>
        <translation>Transmittance</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Report</source>
        <translation>Report</translation>
    </message>
    <message>
        <source>NO</source>
        <translation>NO</translation>
    </message>
    <message>
        <source>Test Name</source>
        <translation>Test Name</translation>
    </message>
    <message>
        <source>DateTime</source>
        <translation>DateTime</translation>
    </message>
    <message>
        <source>Standard</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>Sample</source>
        <translation>Sample</translation>
    </message>
    <message>
        <source>Pass or not</source>
        <translation>Pass or not</translation>
    </message>
    <message>
        <source>Failed to read measurement data!</source>
        <translation>Failed to read measurement data!</translation>
    </message>
    <message>
        <source>Tip</source>
        <translation>Tip</translation>
    </message>
    <message>
        <source>Clearing data will clear all comparison records. Are you sure you want to clear it?</source>
        <translation>Clearing data will clear all comparison records. Are you sure you want to clear it?</translation>
    </message>
    <message>
        <source>information</source>
        <translation>information</translation>
    </message>
    <message>
        <source>Haze Tolerance must between 0-100!</source>
        <translation>Haze Tolerance must between 0-100!</translation>
    </message>
    <message>
        <source>Transmittance  Tolerance must between 0-100!</source>
        <translation>Transmittance  Tolerance must between 0-100!</translation>
    </message>
    <message>
        <source>Thresholds must between 0.1-50!</source>
        <translation>Thresholds must between 0.1-50!</translation>
    </message>
    <message>
        <source>Failed to Setup  Tolerance information!</source>
        <translation>Failed to Setup  Tolerance information!</translation>
    </message>
    <message>
        <source>Setup successfully!</source>
        <translation>Setup successfully!</translation>
    </message>
    <message>
        <source>The comparison measurement record list data will be cleared. Do you want to continue saving the parameter settings?</source>
        <translation>The comparison measurement record list data will be cleared. Do you want to continue saving the parameter settings?</translation>
    </message>
    <message>
        <source>Failed to Setup  DisplayParam information!</source>
        <translation>Failed to Setup  DisplayParam information!</translation>
    </message>
    <message>
        <source>File error, unable to write!</source>
        <translation>File error, unable to write!</translation>
    </message>
    <message>
        <source>Can't open file!</source>
        <translation>Can't open file!</translation>
    </message>
    <message>
        <source>Failed to read excel file!</source>
        <translation>Failed to read excel file!</translation>
    </message>
    <message>
        <source>The written contents do not match and cannot be written!</source>
        <translation>The written contents do not match and cannot be written!</translation>
    </message>
    <message>
        <source>Failed to write the total number of standard color cards!</source>
        <translation>Failed to write the total number of standard color cards!</translation>
    </message>
    <message>
        <source>Too many standard color cards: the card rows must end by row 49, but the count asks for rows up to %1!</source>
        <translation>Too many standard color cards: the card rows must end by row 49, but the count asks for rows up to %1!</translation>
    </message>
    <message>
        <source>The card texts in row %1 are longer than 16 bytes!</source>
        <translation>The card texts in row %1 are longer than 16 bytes!</translation>
    </message>
    <message>
        <source>Error in Excel file with not enough rows of standard color cards!</source>
        <translation>Error in Excel file with not enough rows of standard color cards!</translation>
    </message>
    <message>
        <source>The colour name in row %1 is longer than 20 bytes!</source>
        <translation>The colour name in row %1 is longer than 20 bytes!</translation>
    </message>
    <message>
        <source>Failed to write standard color card information!</source>
        <translation>Failed to write standard color card information!</translation>
    </message>
    <message>
        <source>Failed to write standard color card data!</source>
        <translation>Failed to write standard color card data!</translation>
    </message>
    <message>
        <source>Failed to write!</source>
        <translation>Failed to write!</translation>
    </message>
    <message>
        <source>Failed to write empty packet!</source>
        <translation>Failed to write empty packet!</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>Model</translation>
    </message>
    <message>
        <source>SN</source>
        <translation>SN</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Standard Haze</source>
        <translation>Standard Haze</translation>
    </message>
    <message>
        <source>Standard Transmittance</source>
        <translation>Standard Transmittance</translation>
    </message>
    <message>
        <source>Sample Haze</source>
        <translation>Sample Haze</translation>
    </message>
    <message>
        <source>Sample Transmittance</source>
        <translation>Sample Transmittance</translation>
    </message>
    <message>
        <source>Haze Tolerance</source>
        <translation>Haze Tolerance</translation>
    </message>
    <message>
        <source>Transmittance Tolerance</source>
        <translation>Transmittance Tolerance</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>Standard L*</source>
        <translation>Standard L*</translation>
    </message>
    <message>
        <source>Standard a*</source>
        <translation>Standard a*</translation>
    </message>
    <message>
        <source>Standard b*</source>
        <translation>Standard b*</translation>
    </message>
    <message>
        <source>Sample L*</source>
        <translation>Sample L*</translation>
    </message>
    <message>
        <source>Sample a*</source>
        <translation>Sample a*</translation>
    </message>
    <message>
        <source>Sample b*</source>
        <translation>Sample b*</translation>
    </message>
    <message>
        <source>Standard C*</source>
        <translation>Standard C*</translation>
    </message>
    <message>
        <source>Standard h</source>
        <translation>Standard h</translation>
    </message>
    <message>
        <source>Sample C*</source>
        <translation>Sample C*</translation>
    </message>
    <message>
        <source>Sample h</source>
        <translation>Sample h</translation>
    </message>
    <message>
        <source>Standard Y</source>
        <translation>Standard Y</translation>
    </message>
    <message>
        <source>Standard x</source>
        <translation>Standard x</translation>
    </message>
    <message>
        <source>Standard y</source>
        <translation>Standard y</translation>
    </message>
    <message>
        <source>Sample Y</source>
        <translation>Sample Y</translation>
    </message>
    <message>
        <source>Sample x</source>
        <translation>Sample x</translation>
    </message>
    <message>
        <source>Sample y</source>
        <translation>Sample y</translation>
    </message>
    <message>
        <source>Storing data,please wait...</source>
        <translation>Storing data,please wait...</translation>
    </message>
    <message>
        <source>cancel</source>
        <translation>cancel</translation>
    </message>
    <message>
        <source>Colorimeter</source>
        <translation>Colorimeter</translation>
    </message>
    <message>
        <source>Data import willempty the list, to save data first?</source>
        <translation>Data import willempty the list, to save data first?</translation>
    </message>
    <message>
        <source>difference history data error, unable to export!</source>
        <translation>difference history data error, unable to export!</translation>
    </message>
    <message>
        <source>Failed to read the number of color difference records!</source>
        <translation>Failed to read the number of color difference records!</translation>
    </message>
    <message>
        <source>Reading difference recording lab data failed!</source>
        <translation>Reading difference recording lab data failed!</translation>
    </message>
    <message>
        <source>Failed to read color difference record name data!</source>
        <translation>Failed to read color difference record name data!</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>No comparison record!</source>
        <translation>No comparison record!</translation>
    </message>
    <message>
        <source>Color difference history data error, unable to export!</source>
        <translation>Color difference history data error, unable to export!</translation>
    </message>
    <message>
        <source>Reading color difference recording lab data failed!</source>
        <translation>Reading color difference recording lab data failed!</translation>
    </message>
    <message>
        <source>No data for Storing to Excel!</source>
        <translation>No data for Storing to Excel!</translation>
    </message>
    <message>
        <source>Storing data to Excel</source>
        <translation>Storing data to Excel</translation>
    </message>
    <message>
        <source>excel file (*.xlsx)</source>
        <translation>excel file (*.xlsx)</translation>
    </message>
    <message>
        <source>Can't overwrite this file, maybe the file is in use!</source>
        <translation>Can't overwrite this file, maybe the file is in use!</translation>
    </message>
    <message>
        <source>Failed to export data to excel file</source>
        <translation>Failed to export data to excel file</translation>
    </message>
    <message>
        <source>Storing data</source>
        <translation>Storing data</translation>
    </message>
    <message>
        <source>Data stored to file Success</source>
        <translation>Data stored to file Success</translation>
    </message>
    <message>
        <source>Write to standard color card library successfully!</source>
        <translation>Write to standard color card library successfully!</translation>
    </message>
    <message>
        <source>The cards ask for %1 colour rows, more than the %2 a library holds!</source>
        <translation>The cards ask for %1 colour rows, more than the %2 a library holds!</translation>
    </message>
    <message>
        <source>History</source>
        <translation>History</translation>
    </message>
    <message>
        <source>The measurement history is off: %1
Measuring goes on; the results are kept and written once the history can be used.</source>
        <translation>The measurement history is off: %1
Measuring goes on; the results are kept and written once the history can be used.</translation>
    </message>
    <message numerus="yes">
        <source>%n row(s) of the last run restored.</source>
        <translation>
            <numerusform>%n row of the last run restored.</numerusform>
            <numerusform>%n rows of the last run restored.</numerusform>
        </translation>
    </message>
    <message>
        <source>History off: %1</source>
        <translation>History off: %1</translation>
    </message>
    <message numerus="yes">
        <source>Lab database not synced (%n row(s) waiting).</source>
        <translation>
            <numerusform>Lab database not synced (%n row waiting).</numerusform>
            <numerusform>Lab database not synced (%n rows waiting).</numerusform>
        </translation>
    </message>
    <message>
        <source>The selected rows were measured in different display modes; export the rows of one mode at a time.</source>
        <translation>The selected rows were measured in different display modes; export the rows of one mode at a time.</translation>
    </message>
    <message>
        <source>Analysis</source>
        <translation>Analysis</translation>
    </message>
    <message>
        <source>Readings per measurement</source>
        <translation>Readings per measurement</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Reading %1 of %2</source>
        <translation>Reading %1 of %2</translation>
    </message>
    <message>
        <source>Failed to export data to CSV file</source>
        <translation>Failed to export data to CSV file</translation>
    </message>
    <message>
        <source>Data stored to file: %1</source>
        <translation>Data stored to file: %1</translation>
    </message>
    <message>
        <source>CSV file, numbers only (*.csv)</source>
        <translation>CSV file, numbers only (*.csv)</translation>
    </message>
    <message>
        <source>Select one Excel files to open</source>
        <translation>Select one Excel files to open</translation>
    </message>
    <message>
        <source>Cell %1 is empty: a colour value is a number with at most two decimals from -327.68 to 327.67!</source>
        <translation>Cell %1 is empty: a colour value is a number with at most two decimals from -327.68 to 327.67!</translation>
    </message>
    <message>
        <source>Cell %1 holds "%2", not a number with at most two decimals from -327.68 to 327.67!</source>
        <translation>Cell %1 holds "%2", not a number with at most two decimals from -327.68 to 327.67!</translation>
    </message>
    <message>
        <source>The library %1 was not found!</source>
        <translation>The library %1 was not found!</translation>
    </message>
    <message>
        <source>The records could not be kept in the history; none was added to the list.</source>
        <translation>The records could not be kept in the history; none was added to the list.</translation>
    </message>
    <message>
        <source>"%1" is not a number. The standard keeps %2.</source>
        <translation>"%1" is not a number. The standard keeps %2.</translation>
    </message>
    <message numerus="yes">
        <source>%n comparison(s) of another display mode or instrument were moved to the history (History button).</source>
        <translation>
            <numerusform>%n comparison of another display mode or instrument was moved to the history (History button).</numerusform>
            <numerusform>%n comparisons of another display mode or instrument were moved to the history (History button).</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Import stopped: %n record(s) read before the stop were added.</source>
        <translation>
            <numerusform>Import stopped: %n record read before the stop was added.</numerusform>
            <numerusform>Import stopped: %n records read before the stop were added.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n record(s) were already in the list and were not added again.</source>
        <translation>
            <numerusform>%n record was already in the list and was not added again.</numerusform>
            <numerusform>%n records were already in the list and were not added again.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>HistoryDatabase</name>
    <message>
        <source>The history database %1 is locked by another program.</source>
        <translation>The history database %1 is locked by another program.</translation>
    </message>
    <message>
        <source>The history database %1 cannot be written: it is read-only.</source>
        <translation>The history database %1 cannot be written: it is read-only.</translation>
    </message>
    <message>
        <source>The history database %1 is damaged.</source>
        <translation>The history database %1 is damaged.</translation>
    </message>
    <message>
        <source>The disk of the history database %1 is full.</source>
        <translation>The disk of the history database %1 is full.</translation>
    </message>
    <message>
        <source>The history database %1 cannot be opened: %2</source>
        <translation>The history database %1 cannot be opened: %2</translation>
    </message>
    <message>
        <source>The history database %1 failed: %2</source>
        <translation>The history database %1 failed: %2</translation>
    </message>
    <message>
        <source>The database driver %1 is not installed.</source>
        <translation>The database driver %1 is not installed.</translation>
    </message>
    <message>
        <source>The lab database %1 cannot be reached: %2</source>
        <translation>The lab database %1 cannot be reached: %2</translation>
    </message>
    <message>
        <source>The history database %1 was written by a newer version of the program (schema %2; this one knows %3). It is left untouched.</source>
        <translation>The history database %1 was written by a newer version of the program (schema %2; this one knows %3). It is left untouched.</translation>
    </message>
    <message>
        <source>not open</source>
        <translation>not open</translation>
    </message>
    <message>
        <source>The lab database %1 refused the copy: %2</source>
        <translation>The lab database %1 refused the copy: %2</translation>
    </message>
    <message>
        <source>The history database %1 cannot be written: %2</source>
        <translation>The history database %1 cannot be written: %2</translation>
    </message>
    <message>
        <source>The history database %1 is damaged: its schema version is missing or not a number, and its tables are not those of any version of the program. It is left untouched.</source>
        <translation>The history database %1 is damaged: its schema version is missing or not a number, and its tables are not those of any version of the program. It is left untouched.</translation>
    </message>
    <message>
        <source>The history database %1 had lost its schema version; its tables are those of version %2, which is written down again.</source>
        <translation>The history database %1 had lost its schema version; its tables are those of version %2, which is written down again.</translation>
    </message>
</context>
<context>
    <name>HistoryUrl</name>
    <message>
        <source>The SQLite URL names no file.</source>
        <translation>The SQLite URL names no file.</translation>
    </message>
    <message>
        <source>Unknown database URL "%1": use sqlite:PATH or postgresql://host/dbname.</source>
        <translation>Unknown database URL "%1": use sqlite:PATH or postgresql://host/dbname.</translation>
    </message>
    <message>
        <source>The database URL is not valid: %1</source>
        <translation>The database URL is not valid: %1</translation>
    </message>
    <message>
        <source>The database URL holds a password; keep it in ~/.pgpass instead.</source>
        <translation>The database URL holds a password; keep it in ~/.pgpass instead.</translation>
    </message>
    <message>
        <source>The database URL names no database.</source>
        <translation>The database URL names no database.</translation>
    </message>
</context>
<context>
    <name>InformationPageFor510</name>
    <message>
        <source>Report</source>
        <translation>Report</translation>
    </message>
    <message>
        <source>information</source>
        <translation>information</translation>
    </message>
    <message>
        <source>Device:</source>
        <translation>Device:</translation>
    </message>
    <message>
        <source>SN:</source>
        <translation>SN:</translation>
    </message>
    <message>
        <source>Company:</source>
        <translation>Company:</translation>
    </message>
    <message>
        <source>Sample Name:</source>
        <translation>Sample Name:</translation>
    </message>
    <message>
        <source>Test Time:</source>
        <translation>Test Time:</translation>
    </message>
    <message>
        <source>Tester:</source>
        <translation>Tester:</translation>
    </message>
    <message>
        <source>Auditor:</source>
        <translation>Auditor:</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>Ok</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>InformationPageFor620</name>
    <message>
        <source>Report</source>
        <translation>Report</translation>
    </message>
    <message>
        <source>information</source>
        <translation>information</translation>
    </message>
    <message>
        <source>Device:</source>
        <translation>Device:</translation>
    </message>
    <message>
        <source>SN:</source>
        <translation>SN:</translation>
    </message>
    <message>
        <source>Company:</source>
        <translation>Company:</translation>
    </message>
    <message>
        <source>Sample Name:</source>
        <translation>Sample Name:</translation>
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
        <source>Test Time:</source>
        <translation>Test Time:</translation>
    </message>
    <message>
        <source>Tester:</source>
        <translation>Tester:</translation>
    </message>
    <message>
        <source>Auditor:</source>
        <translation>Auditor:</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>Ok</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
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
    <message>
        <source>No instrument</source>
        <translation>No instrument</translation>
    </message>
    <message numerus="yes">
        <source>%n change(s) the history has not taken yet.</source>
        <translation>
            <numerusform>%n change the history has not taken yet.</numerusform>
            <numerusform>%n changes the history has not taken yet.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n reading(s) of a set not yet complete.</source>
        <translation>
            <numerusform>%n reading of a set not yet complete.</numerusform>
            <numerusform>%n readings of a set not yet complete.</numerusform>
        </translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>Quitting now loses:
%1
Quit anyway?</source>
        <translation>Quitting now loses:
%1
Quit anyway?</translation>
    </message>
    <message>
        <source>Product: %1</source>
        <translation>Product: %1</translation>
    </message>
    <message>
        <source>Lot: %1</source>
        <translation>Lot: %1</translation>
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
    <message>
        <source>Spectra</source>
        <translation>Spectra</translation>
    </message>
    <message>
        <source>Spectral history</source>
        <translation>Spectral history</translation>
    </message>
    <message>
        <source>Spectral measurement</source>
        <translation>Spectral measurement</translation>
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
        <source>Storing data,please wait...</source>
        <translation>Storing data,please wait...</translation>
    </message>
    <message>
        <source>cancel</source>
        <translation>cancel</translation>
    </message>
    <message>
        <source>Curve</source>
        <translation>Curve</translation>
    </message>
    <message>
        <source>Operation</source>
        <translation>Operation</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Measurement exceeds the maximum quantity, please save the excel file before measuring!</source>
        <translation>Measurement exceeds the maximum quantity, please save the excel file before measuring!</translation>
    </message>
    <message>
        <source>Failed to read data information!</source>
        <translation>Failed to read data information!</translation>
    </message>
    <message>
        <source>Please connect the device first!</source>
        <translation>Please connect the device first!</translation>
    </message>
    <message>
        <source>Spectral history data error, unable to export!</source>
        <translation>Spectral history data error, unable to export!</translation>
    </message>
    <message>
        <source>Failed to read the number of spectral records!</source>
        <translation>Failed to read the number of spectral records!</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>No spectral history!</source>
        <translation>No spectral history!</translation>
    </message>
    <message>
        <source>Reading spectral recording data failed!</source>
        <translation>Reading spectral recording data failed!</translation>
    </message>
    <message>
        <source>Failed to read spectral record name data!</source>
        <translation>Failed to read spectral record name data!</translation>
    </message>
    <message>
        <source>error</source>
        <translation>error</translation>
    </message>
    <message>
        <source>No data for Storing to Excel!</source>
        <translation>No data for Storing to Excel!</translation>
    </message>
    <message>
        <source>Storing data to Excel</source>
        <translation>Storing data to Excel</translation>
    </message>
    <message>
        <source>excel file (*.xlsx)</source>
        <translation>excel file (*.xlsx)</translation>
    </message>
    <message>
        <source>Failed to store data, can't open file!</source>
        <translation>Failed to store data, can't open file!</translation>
    </message>
    <message>
        <source>Can't overwrite this file, maybe the file is in use!</source>
        <translation>Can't overwrite this file, maybe the file is in use!</translation>
    </message>
    <message>
        <source>Failed to export data to excel file</source>
        <translation>Failed to export data to excel file</translation>
    </message>
    <message>
        <source>Storing data</source>
        <translation>Storing data</translation>
    </message>
    <message>
        <source>Data stored to file Success</source>
        <translation>Data stored to file Success</translation>
    </message>
    <message>
        <source>Tip</source>
        <translation>Tip</translation>
    </message>
    <message>
        <source>Clearing data will clear all spectral records. Are you sure you want to clear it?</source>
        <translation>Clearing data will clear all spectral records. Are you sure you want to clear it?</translation>
    </message>
    <message>
        <source>No</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Curves</source>
        <translation>Curves</translation>
    </message>
    <message>
        <source>Import spectra</source>
        <translation>Import spectra</translation>
    </message>
    <message>
        <source>The imported spectra replace the list. Save the list to a workbook first?
Yes: save, then import. No: import without saving. Cancel: keep the list and import nothing.</source>
        <translation>The imported spectra replace the list. Save the list to a workbook first?
Yes: save, then import. No: import without saving. Cancel: keep the list and import nothing.</translation>
    </message>
</context>
<context>
    <name>ProductControls</name>
    <message>
        <source>Products</source>
        <translation>Products</translation>
    </message>
    <message>
        <source>Save the standard as a product, choose a product, set the lot</source>
        <translation>Save the standard as a product, choose a product, set the lot</translation>
    </message>
    <message>
        <source>Save as product…</source>
        <translation>Save as product…</translation>
    </message>
    <message>
        <source>Choose a product…</source>
        <translation>Choose a product…</translation>
    </message>
    <message>
        <source>Lot…</source>
        <translation>Lot…</translation>
    </message>
    <message>
        <source>Save as product</source>
        <translation>Save as product</translation>
    </message>
    <message>
        <source>The standard on show and the settings in force, kept as:</source>
        <translation>The standard on show and the settings in force, kept as:</translation>
    </message>
    <message>
        <source>Lot</source>
        <translation>Lot</translation>
    </message>
    <message>
        <source>The lot the next comparisons are kept with (empty for none):</source>
        <translation>The lot the next comparisons are kept with (empty for none):</translation>
    </message>
</context>
<context>
    <name>ProductsDialog</name>
    <message>
        <source>Show retired products</source>
        <translation>Show retired products</translation>
    </message>
    <message>
        <source>Use</source>
        <translation>Use</translation>
    </message>
    <message>
        <source>Use the chosen product</source>
        <translation>Use the chosen product</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>Rename</translation>
    </message>
    <message>
        <source>Rename the chosen product</source>
        <translation>Rename the chosen product</translation>
    </message>
    <message>
        <source>Edit tolerances</source>
        <translation>Edit tolerances</translation>
    </message>
    <message>
        <source>Save the tolerances of the chosen product</source>
        <translation>Save the tolerances of the chosen product</translation>
    </message>
    <message>
        <source>Retire</source>
        <translation>Retire</translation>
    </message>
    <message>
        <source>Retire the chosen product</source>
        <translation>Retire the chosen product</translation>
    </message>
    <message>
        <source>Products</source>
        <translation>Products</translation>
    </message>
    <message>
        <source>Type to filter by name or model</source>
        <translation>Type to filter by name or model</translation>
    </message>
    <message>
        <source>Filter products</source>
        <translation>Filter products</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>Model</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>Mode</translation>
    </message>
    <message>
        <source>Standard</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Retired</source>
        <translation>Retired</translation>
    </message>
    <message>
        <source>Product name</source>
        <translation>Product name</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>Name:</translation>
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
        <source>Haze ±%1%</source>
        <translation>Haze ±%1%</translation>
    </message>
    <message>
        <source>T ±%1%</source>
        <translation>T ±%1%</translation>
    </message>
    <message>
        <source>Old layout</source>
        <translation>Old layout</translation>
    </message>
    <message>
        <source>Retire product %1? Comparisons made with it keep naming it; it can no longer be used.</source>
        <translation>Retire product %1? Comparisons made with it keep naming it; it can no longer be used.</translation>
    </message>
    <message>
        <source>Haze Tolerance</source>
        <translation>Haze Tolerance</translation>
    </message>
    <message>
        <source>Transmittance Tolerance</source>
        <translation>Transmittance Tolerance</translation>
    </message>
    <message>
        <source>△E Thresholds</source>
        <translation>△E Thresholds</translation>
    </message>
    <message>
        <source>△E formula</source>
        <translation>△E formula</translation>
    </message>
    <message>
        <source>Haze Tolerance (%):</source>
        <translation>Haze Tolerance (%):</translation>
    </message>
    <message>
        <source>Transmittance Tolerance (%):</source>
        <translation>Transmittance Tolerance (%):</translation>
    </message>
    <message>
        <source>△E Thresholds:</source>
        <translation>△E Thresholds:</translation>
    </message>
    <message>
        <source>△E formula:</source>
        <translation>△E formula:</translation>
    </message>
    <message>
        <source>△E Thresholds %1</source>
        <translation>△E Thresholds %1</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Standard</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>Sample</source>
        <translation>Sample</translation>
    </message>
    <message>
        <source>error</source>
        <translation>error</translation>
    </message>
</context>
<context>
    <name>ReportPage</name>
    <message>
        <source>Save Report as PDF</source>
        <translation>Save Report as PDF</translation>
    </message>
    <message>
        <source>PDF (*.pdf)</source>
        <translation>PDF (*.pdf)</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Failed to save the report as PDF!</source>
        <translation>Failed to save the report as PDF!</translation>
    </message>
</context>
<context>
    <name>ReportPageFor510</name>
    <message>
        <source>Report</source>
        <translation>Report</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>Save the report as a PDF file</source>
        <translation>Save the report as a PDF file</translation>
    </message>
    <message>
        <source>PDF</source>
        <translation>PDF</translation>
    </message>
    <message>
        <source> Tester:</source>
        <translation> Tester:</translation>
    </message>
    <message>
        <source> Auditor:</source>
        <translation> Auditor:</translation>
    </message>
</context>
<context>
    <name>ReportPageFor620</name>
    <message>
        <source>Report</source>
        <translation>Report</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>Save the report as a PDF file</source>
        <translation>Save the report as a PDF file</translation>
    </message>
    <message>
        <source>PDF</source>
        <translation>PDF</translation>
    </message>
    <message>
        <source>Test Report1</source>
        <translation>Test Report1</translation>
    </message>
    <message>
        <source>Test Report</source>
        <translation>Test Report</translation>
    </message>
</context>
<context>
    <name>SafeFile</name>
    <message>
        <source>the history database</source>
        <translation>the history database</translation>
    </message>
    <message>
        <source>an input of this command</source>
        <translation>an input of this command</translation>
    </message>
    <message>
        <source>is a device, not a regular file</source>
        <translation>is a device, not a regular file</translation>
    </message>
    <message>
        <source>is a FIFO, not a regular file</source>
        <translation>is a FIFO, not a regular file</translation>
    </message>
    <message>
        <source>is a socket, not a regular file</source>
        <translation>is a socket, not a regular file</translation>
    </message>
    <message>
        <source>is not a regular file</source>
        <translation>is not a regular file</translation>
    </message>
    <message>
        <source>is a link another user could have planted; it is not followed</source>
        <translation>is a link another user could have planted; it is not followed</translation>
    </message>
    <message>
        <source>is %1, which this program has open; it is not overwritten</source>
        <translation>is %1, which this program has open; it is not overwritten</translation>
    </message>
    <message>
        <source>is too large (%1 bytes; at most %2)</source>
        <translation>is too large (%1 bytes; at most %2)</translation>
    </message>
    <message>
        <source>is a directory</source>
        <translation>is a directory</translation>
    </message>
</context>
<context>
    <name>SettingsFields</name>
    <message>
        <source>Not applied yet: the instrument judges with the value it holds until this one is set.</source>
        <translation>Not applied yet: the instrument judges with the value it holds until this one is set.</translation>
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
    <name>StatisticsPanel</name>
    <message>
        <source>Quantity</source>
        <translation>Quantity</translation>
    </message>
    <message>
        <source>n</source>
        <translation>n</translation>
    </message>
    <message>
        <source>Mean</source>
        <translation>Mean</translation>
    </message>
    <message>
        <source>SD</source>
        <translation>SD</translation>
    </message>
    <message>
        <source>Min</source>
        <translation>Min</translation>
    </message>
    <message>
        <source>Max</source>
        <translation>Max</translation>
    </message>
    <message>
        <source>Range</source>
        <translation>Range</translation>
    </message>
    <message>
        <source>Statistics</source>
        <translation>Statistics</translation>
    </message>
    <message>
        <source>Pass rate (%)</source>
        <translation>Pass rate (%)</translation>
    </message>
    <message>
        <source>Capability</source>
        <translation>Capability</translation>
    </message>
    <message>
        <source>Cp</source>
        <translation>Cp</translation>
    </message>
    <message>
        <source>Cpk</source>
        <translation>Cpk</translation>
    </message>
    <message>
        <source>No lot</source>
        <translation>No lot</translation>
    </message>
    <message>
        <source>Lot: %1</source>
        <translation>Lot: %1</translation>
    </message>
</context>
<context>
    <name>StdColorMaker</name>
    <message>
        <source>No model name is given.</source>
        <translation>No model name is given.</translation>
    </message>
    <message>
        <source>The list is not UTF-8 text.</source>
        <translation>The list is not UTF-8 text.</translation>
    </message>
    <message>
        <source>Line %1: a quoted field is not closed.</source>
        <translation>Line %1: a quoted field is not closed.</translation>
    </message>
    <message>
        <source>Line %1: %2 fields where a colour has 6 or 7 (colour name, card text 1, card text 2, three values, card value).</source>
        <translation>Line %1: %2 fields where a colour has 6 or 7 (colour name, card text 1, card text 2, three values, card value).</translation>
    </message>
    <message>
        <source>Line %1: the colour name is empty.</source>
        <translation>Line %1: the colour name is empty.</translation>
    </message>
    <message>
        <source>Line %1: the colour name is longer than 20 bytes.</source>
        <translation>Line %1: the colour name is longer than 20 bytes.</translation>
    </message>
    <message>
        <source>Line %1: a card text is longer than 16 bytes.</source>
        <translation>Line %1: a card text is longer than 16 bytes.</translation>
    </message>
    <message>
        <source>Line %1: value %2 is not a number with at most two decimals from -327.68 to 327.67.</source>
        <translation>Line %1: value %2 is not a number with at most two decimals from -327.68 to 327.67.</translation>
    </message>
    <message>
        <source>Line %1: the card value is not a whole number from 0 to 65535.</source>
        <translation>Line %1: the card value is not a whole number from 0 to 65535.</translation>
    </message>
    <message>
        <source>Line %1: this colour starts a 48th card, but the library holds at most 47 cards.</source>
        <translation>Line %1: this colour starts a 48th card, but the library holds at most 47 cards.</translation>
    </message>
    <message>
        <source>Line %1: the card value differs from the one given for the same card on line %2.</source>
        <translation>Line %1: the card value differs from the one given for the same card on line %2.</translation>
    </message>
    <message>
        <source>The list holds no colours.</source>
        <translation>The list holds no colours.</translation>
    </message>
    <message>
        <source>The library must be named StdColor.xlsx: the writer takes no other name.</source>
        <translation>The library must be named StdColor.xlsx: the writer takes no other name.</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>Cannot read %1: %2</translation>
    </message>
    <message>
        <source>Cannot save %1: %2</source>
        <translation>Cannot save %1: %2</translation>
    </message>
    <message>
        <source>Line %1: a name or card text holds a control character.</source>
        <translation>Line %1: a name or card text holds a control character.</translation>
    </message>
    <message>
        <source>Line %1: one colour more than the %2 the instrument's library holds.</source>
        <translation>Line %1: one colour more than the %2 the instrument's library holds.</translation>
    </message>
</context>
<context>
    <name>TrendChart</name>
    <message>
        <source>△Haze</source>
        <translation>△Haze</translation>
    </message>
    <message>
        <source>△T</source>
        <translation>△T</translation>
    </message>
    <message>
        <source>△E</source>
        <translation>△E</translation>
    </message>
    <message>
        <source>UCL</source>
        <translation>UCL</translation>
    </message>
    <message>
        <source>CL</source>
        <translation>CL</translation>
    </message>
    <message>
        <source>LCL</source>
        <translation>LCL</translation>
    </message>
</context>
<context>
    <name>WorkspaceHistory</name>
    <message numerus="yes">
        <source>%n comparison(s) left out: a value beyond what any instrument measures (the database was damaged or edited).</source>
        <translation>
            <numerusform>%n comparison left out: a value beyond what any instrument measures (the database was damaged or edited).</numerusform>
            <numerusform>%n comparisons left out: a value beyond what any instrument measures (the database was damaged or edited).</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>WorkspaceKeys</name>
    <message>
        <source>Comparison table</source>
        <translation>Comparison table</translation>
    </message>
    <message>
        <source>Comparison list</source>
        <translation>Comparison list</translation>
    </message>
    <message>
        <source>Delete removes the selected row.</source>
        <translation>Delete removes the selected row.</translation>
    </message>
    <message>
        <source>Analysis</source>
        <translation>Analysis</translation>
    </message>
    <message>
        <source>Measure the standard (F7)</source>
        <translation>Measure the standard (F7)</translation>
    </message>
    <message>
        <source>Measure a sample (F8)</source>
        <translation>Measure a sample (F8)</translation>
    </message>
    <message>
        <source>Export the list (Ctrl+E)</source>
        <translation>Export the list (Ctrl+E)</translation>
    </message>
    <message>
        <source>Open the measurement history (Ctrl+H)</source>
        <translation>Open the measurement history (Ctrl+H)</translation>
    </message>
    <message>
        <source>Show or hide the analysis (F9)</source>
        <translation>Show or hide the analysis (F9)</translation>
    </message>
    <message>
        <source>Display mode</source>
        <translation>Display mode</translation>
    </message>
</context>
<context>
    <name>history::HistoryQueryModel</name>
    <message>
        <source>Serial number</source>
        <translation>Serial number</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>Model</translation>
    </message>
    <message>
        <source>Station</source>
        <translation>Station</translation>
    </message>
    <message>
        <source>Source</source>
        <translation>Source</translation>
    </message>
    <message>
        <source>Display mode</source>
        <translation>Display mode</translation>
    </message>
    <message>
        <source>△Haze</source>
        <translation>△Haze</translation>
    </message>
    <message>
        <source>△T</source>
        <translation>△T</translation>
    </message>
    <message>
        <source>△E</source>
        <translation>△E</translation>
    </message>
    <message>
        <source>Measured</source>
        <extracomment>A comparison measured from the program (Scan Sample).</extracomment>
        <translation>Measured</translation>
    </message>
    <message>
        <source>Sent by instrument</source>
        <extracomment>A comparison the instrument sent when measured on its own keys.</extracomment>
        <translation>Sent by instrument</translation>
    </message>
    <message>
        <source>Imported</source>
        <extracomment>A comparison read from the records stored in the instrument.</extracomment>
        <translation>Imported</translation>
    </message>
    <message>
        <source>L*a*b*C*h</source>
        <translation>L*a*b*C*h</translation>
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
        <source>Measured at</source>
        <translation>Measured at</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Verdict</source>
        <translation>Verdict</translation>
    </message>
    <message>
        <source>Lot</source>
        <translation>Lot</translation>
    </message>
</context>
<context>
    <name>history::HistoryStore</name>
    <message>
        <source>No history database is open.</source>
        <translation>No history database is open.</translation>
    </message>
    <message>
        <source>The product could not be stored: %1</source>
        <translation>The product could not be stored: %1</translation>
    </message>
    <message>
        <source>A product needs a name.</source>
        <translation>A product needs a name.</translation>
    </message>
    <message>
        <source>A product named %1 already exists for the %2.</source>
        <translation>A product named %1 already exists for the %2.</translation>
    </message>
    <message>
        <source>The product is no longer in the history.</source>
        <translation>The product is no longer in the history.</translation>
    </message>
    <message>
        <source>Product %1 was changed on station %2; the newer edit is kept.</source>
        <translation>Product %1 was changed on station %2; the newer edit is kept.</translation>
    </message>
</context>
<context>
    <name>history::HistoryWindow</name>
    <message>
        <source>History</source>
        <translation>History</translation>
    </message>
    <message>
        <source>All</source>
        <translation>All</translation>
    </message>
    <message>
        <source>the program's own file, or sqlite:PATH, or postgresql://host/dbname</source>
        <translation>the program's own file, or sqlite:PATH, or postgresql://host/dbname</translation>
    </message>
    <message>
        <source>History off: %1</source>
        <translation>History off: %1</translation>
    </message>
    <message>
        <source>Synced</source>
        <translation>Synced</translation>
    </message>
    <message>
        <source>No comparisons</source>
        <translation>No comparisons</translation>
    </message>
    <message numerus="yes">
        <source>%n comparison(s), %1% pass</source>
        <translation>
            <numerusform>%n comparison, %1% pass</numerusform>
            <numerusform>%n comparisons, %1% pass</numerusform>
        </translation>
    </message>
    <message>
        <source>&amp;From</source>
        <extracomment>Filter: only comparisons measured at or after the date beside it.</extracomment>
        <translation>&amp;From</translation>
    </message>
    <message>
        <source>&amp;To</source>
        <extracomment>Filter: only comparisons measured before the date beside it.</extracomment>
        <translation>&amp;To</translation>
    </message>
    <message>
        <source>From date</source>
        <translation>From date</translation>
    </message>
    <message>
        <source>To date</source>
        <translation>To date</translation>
    </message>
    <message>
        <source>&amp;Serial number</source>
        <translation>&amp;Serial number</translation>
    </message>
    <message>
        <source>&amp;Name</source>
        <translation>&amp;Name</translation>
    </message>
    <message>
        <source>&amp;Verdict</source>
        <translation>&amp;Verdict</translation>
    </message>
    <message>
        <source>&amp;Database</source>
        <translation>&amp;Database</translation>
    </message>
    <message>
        <source>&amp;Apply</source>
        <translation>&amp;Apply</translation>
    </message>
    <message>
        <source>&amp;Export selected...</source>
        <translation>&amp;Export selected...</translation>
    </message>
    <message>
        <source>Open &amp;report</source>
        <translation>Open &amp;report</translation>
    </message>
    <message>
        <source>Comparisons</source>
        <translation>Comparisons</translation>
    </message>
    <message numerus="yes">
        <source>Not synced: %n row(s)</source>
        <translation>
            <numerusform>Not synced: %n row</numerusform>
            <numerusform>Not synced: %n rows</numerusform>
        </translation>
    </message>
    <message>
        <source>&amp;Product</source>
        <translation>&amp;Product</translation>
    </message>
    <message>
        <source>&amp;Lot</source>
        <translation>&amp;Lot</translation>
    </message>
    <message>
        <source>Stat&amp;ion</source>
        <translation>Stat&amp;ion</translation>
    </message>
    <message>
        <source>S&amp;how</source>
        <translation>S&amp;how</translation>
    </message>
    <message>
        <source>This station</source>
        <translation>This station</translation>
    </message>
    <message>
        <source>Lab database (all stations)</source>
        <translation>Lab database (all stations)</translation>
    </message>
    <message>
        <source>Every station's comparisons are in the lab database: name it (postgresql://host/dbname) in the Database field to show them.</source>
        <translation>Every station's comparisons are in the lab database: name it (postgresql://host/dbname) in the Database field to show them.</translation>
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