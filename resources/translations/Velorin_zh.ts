<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
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
        <translation>%1 容差 %2</translation>
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
        <translation>趋势</translation>
    </message>
    <message>
        <source>a*b* plot</source>
        <translation>a*b* 图</translation>
    </message>
</context>
<context>
    <name>ChartExport</name>
    <message>
        <source>Save as PNG…</source>
        <translation>另存为 PNG…</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>复制</translation>
    </message>
    <message>
        <source>The chart could not be made into an image.</source>
        <translation>无法将图表生成图像。</translation>
    </message>
    <message>
        <source>Save chart</source>
        <translation>保存图表</translation>
    </message>
    <message>
        <source>PNG image (*.png)</source>
        <translation>PNG 图像 (*.png)</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>错误</translation>
    </message>
    <message>
        <source>The chart could not be saved to %1.</source>
        <translation>无法将图表保存到 %1。</translation>
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
        <translation>△透过率</translation>
    </message>
    <message>
        <source>△Haze</source>
        <translation>△雾度</translation>
    </message>
    <message>
        <source>△T</source>
        <translation>△透过率</translation>
    </message>
    <message>
        <source>△E </source>
        <translation>△E </translation>
    </message>
    <message>
        <source>△E Thresholds</source>
        <translation>△E 阈值</translation>
    </message>
    <message>
        <source>△E formula</source>
        <translation>△E 公式</translation>
    </message>
</context>
<context>
    <name>ComparisonListModel</name>
    <message>
        <source>Haze</source>
        <translation>雾度</translation>
    </message>
    <message>
        <source>T</source>
        <translation>透过率</translation>
    </message>
    <message>
        <source>Mean of %1 readings</source>
        <translation>%1 次读数的平均值</translation>
    </message>
    <message>
        <source>Spread of %1: %2</source>
        <translation>%1 的极差: %2</translation>
    </message>
</context>
<context>
    <name>ComparisonSession</name>
    <message>
        <source>Products</source>
        <translation>产品</translation>
    </message>
    <message>
        <source>Formula %1 is not one this instrument offers.</source>
        <translation>本仪器没有公式 %1。</translation>
    </message>
    <message>
        <source>Products are kept in the history, which is not open.</source>
        <translation>产品保存在测量历史中，而测量历史未打开。</translation>
    </message>
    <message>
        <source>There is no standard to save: measure the standard first.</source>
        <translation>没有可保存的标准：请先测量标准。</translation>
    </message>
    <message>
        <source>The instrument has not been identified yet.</source>
        <translation>尚未识别仪器。</translation>
    </message>
    <message>
        <source>The instrument's settings have not been read yet; read them before saving a product.</source>
        <translation>尚未读取仪器的设置；请先读取设置再保存产品。</translation>
    </message>
    <message>
        <source>Product %1 is retired.</source>
        <translation>产品 %1 已停用。</translation>
    </message>
    <message>
        <source>Product %1 was saved for the %2; this instrument is a %3.</source>
        <translation>产品 %1 是为 %2 保存的；本仪器是 %3。</translation>
    </message>
    <message>
        <source>Product %1 was saved with the record layout of other firmware; this instrument cannot take it.</source>
        <translation>产品 %1 是按另一种固件的记录格式保存的；本仪器无法使用。</translation>
    </message>
    <message>
        <source>This instrument cannot show display mode %1 of product %2.</source>
        <translation>本仪器无法显示产品 %2 的显示模式 %1。</translation>
    </message>
</context>
<context>
    <name>FirstPageFor510</name>
    <message>
        <source>Device information</source>
        <translation>设备信息</translation>
    </message>
    <message>
        <source>SN:</source>
        <translation>序列号：</translation>
    </message>
    <message>
        <source>Firmware Version:</source>
        <translation>固件版本：</translation>
    </message>
    <message>
        <source> Comparison measurement</source>
        <translation> 对比测量</translation>
    </message>
    <message>
        <source>Scan Standard</source>
        <translation>测量标准</translation>
    </message>
    <message>
        <source>Scan Sample</source>
        <translation>测量样品</translation>
    </message>
    <message>
        <source>Set display parameter</source>
        <translation>设置显示参数</translation>
    </message>
    <message>
        <source>Haze/T</source>
        <translation>雾度/透过率</translation>
    </message>
    <message>
        <source>Haze</source>
        <translation>雾度</translation>
    </message>
    <message>
        <source>T</source>
        <translation>透过率</translation>
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
        <translation>雾度/透过率/Lab</translation>
    </message>
    <message>
        <source>Setup</source>
        <translation>设置</translation>
    </message>
    <message>
        <source>Count</source>
        <translation>计数</translation>
    </message>
    <message>
        <source>NG </source>
        <translation>不合格</translation>
    </message>
    <message>
        <source>PASS </source>
        <translation>合格</translation>
    </message>
    <message>
        <source>Total</source>
        <translation>总数</translation>
    </message>
    <message>
        <source>Set tolerance</source>
        <translation>设置容差</translation>
    </message>
    <message>
        <source>Haze Tolerance(0-100)±:</source>
        <translation>雾度容差(0-100)±：</translation>
    </message>
    <message>
        <source>%</source>
        <translation>%</translation>
    </message>
    <message>
        <source>T Tolerance(0-100)±:</source>
        <translation>透过率容差(0-100)±：</translation>
    </message>
    <message>
        <source>△E Thresholds(0.1-50):</source>
        <translation>△E 阈值(0.1-50)：</translation>
    </message>
    <message>
        <source>Read tolerance</source>
        <translation>读取容差</translation>
    </message>
    <message>
        <source>△E parameter</source>
        <translation>△E 参数</translation>
    </message>
    <message>
        <source>△E formula:</source>
        <translation>△E 公式：</translation>
    </message>
    <message>
        <source>△E Thresholds:</source>
        <translation>△E 阈值：</translation>
    </message>
    <message>
        <source>Set parameter </source>
        <translation>设置参数</translation>
    </message>
    <message>
        <source>Read parameter</source>
        <translation>读取参数</translation>
    </message>
    <message>
        <source>Read comparison record</source>
        <translation>读取对比记录</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>清空</translation>
    </message>
    <message>
        <source>Export Excel</source>
        <translation>导出 Excel</translation>
    </message>
    <message>
        <source>Spectral transmittance</source>
        <translation>光谱透过率</translation>
    </message>
    <message>
        <source>Write stdcolor</source>
        <translation>写入标准色</translation>
    </message>
    <message>
        <source>UnKnow</source>
        <translation>未知</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>错误</translation>
    </message>
    <message>
        <source>Please connect the device first!</source>
        <translation>请先连接仪器！</translation>
    </message>
    <message>
        <source>Failed to read device information!</source>
        <translation>读取仪器信息失败！</translation>
    </message>
    <message>
        <source>Warn</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Read key infomation fail!</source>
        <translation>读取仪器关键信息失败！</translation>
    </message>
    <message>
        <source>Read MeterNo Fail!</source>
        <translation>读取仪器型号编码失败！</translation>
    </message>
    <message>
        <source>Failed to read software version number!</source>
        <translation>读取软件版本号失败！</translation>
    </message>
    <message>
        <source>Failed to read DisplayParam!</source>
        <translation>读取显示参数失败！</translation>
    </message>
    <message>
        <source>Failed to Read Tolerance information!</source>
        <translation>读取容差信息失败！</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Read successful!</source>
        <translation>读取成功！</translation>
    </message>
    <message>
        <source>Failed to read △E parameter information!</source>
        <translation>读取△E参数信息失败！</translation>
    </message>
    <message>
        <source>Spectral reflectance</source>
        <translation>光谱反射率</translation>
    </message>
    <message>
        <source>PASS</source>
        <translation>合格</translation>
    </message>
    <message>
        <source>NG</source>
        <translation>不合格</translation>
    </message>
    <message>
        <source>More black</source>
        <translation>偏黑</translation>
    </message>
    <message>
        <source>Slight black</source>
        <translation>稍偏黑</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>正常</translation>
    </message>
    <message>
        <source>Slight white</source>
        <translation>稍偏白</translation>
    </message>
    <message>
        <source>More white</source>
        <translation>偏白</translation>
    </message>
    <message>
        <source>More green</source>
        <translation>偏绿</translation>
    </message>
    <message>
        <source>Slight green</source>
        <translation>稍偏绿</translation>
    </message>
    <message>
        <source>Slight red</source>
        <translation>稍偏红</translation>
    </message>
    <message>
        <source>More red</source>
        <translation>偏红</translation>
    </message>
    <message>
        <source>More Blue</source>
        <translation>偏蓝</translation>
    </message>
    <message>
        <source>Slight blue</source>
        <translation>稍偏蓝</translation>
    </message>
    <message>
        <source>Slight yellow</source>
        <translation>稍偏黄</translation>
    </message>
    <message>
        <source>More yellow</source>
        <translation>偏黄</translation>
    </message>
    <message>
        <source>Transmittance</source>
        <translation>透过率</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>Report</source>
        <translation>报告</translation>
    </message>
    <message>
        <source>NO</source>
        <translation>序号</translation>
    </message>
    <message>
        <source>Test Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>DateTime</source>
        <translation>测量时间</translation>
    </message>
    <message>
        <source>Standard</source>
        <translation>标准</translation>
    </message>
    <message>
        <source>Sample</source>
        <translation>样品</translation>
    </message>
    <message>
        <source>Pass or not</source>
        <translation>判定</translation>
    </message>
    <message>
        <source>Failed to read measurement data!</source>
        <translation>读取测量数据失败！</translation>
    </message>
    <message>
        <source>Tip</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Clearing data will clear all comparison records. Are you sure you want to clear it?</source>
        <translation>清空数据将删除全部对比记录，确定要清空吗？</translation>
    </message>
    <message>
        <source>information</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Haze Tolerance must between 0-100!</source>
        <translation>雾度容差必须在 0-100 之间！</translation>
    </message>
    <message>
        <source>Transmittance  Tolerance must between 0-100!</source>
        <translation>透过率容差必须在 0-100 之间！</translation>
    </message>
    <message>
        <source>Thresholds must between 0.1-50!</source>
        <translation>阈值必须在 0.1-50 之间！</translation>
    </message>
    <message>
        <source>Failed to Setup  Tolerance information!</source>
        <translation>设置容差失败！</translation>
    </message>
    <message>
        <source>Setup successfully!</source>
        <translation>设置成功！</translation>
    </message>
    <message>
        <source>The comparison measurement record list data will be cleared. Do you want to continue saving the parameter settings?</source>
        <translation>对比测量记录列表将被清空，是否继续保存参数设置？</translation>
    </message>
    <message>
        <source>Failed to Setup  DisplayParam information!</source>
        <translation>设置显示参数失败！</translation>
    </message>
    <message>
        <source>File error, unable to write!</source>
        <translation>文件错误，无法写入！</translation>
    </message>
    <message>
        <source>Can't open file!</source>
        <translation>无法打开文件！</translation>
    </message>
    <message>
        <source>Failed to read excel file!</source>
        <translation>读取 Excel 文件失败！</translation>
    </message>
    <message>
        <source>The written contents do not match and cannot be written!</source>
        <translation>写入内容不一致，无法写入！</translation>
    </message>
    <message>
        <source>Failed to write the total number of standard color cards!</source>
        <translation>写入标准色卡总数失败！</translation>
    </message>
    <message>
        <source>Too many standard color cards: the card rows must end by row 49, but the count asks for rows up to %1!</source>
        <translation>标准色卡过多：色卡须在第 49 行以内结束，但数量要求写到第 %1 行！</translation>
    </message>
    <message>
        <source>The card texts in row %1 are longer than 16 bytes!</source>
        <translation>第 %1 行的色卡文字超过 16 字节！</translation>
    </message>
    <message>
        <source>Error in Excel file with not enough rows of standard color cards!</source>
        <translation>Excel 文件有误：标准色卡行数不足！</translation>
    </message>
    <message>
        <source>The colour name in row %1 is longer than 20 bytes!</source>
        <translation>第 %1 行的颜色名称超过 20 字节！</translation>
    </message>
    <message>
        <source>Failed to write standard color card information!</source>
        <translation>写入标准色卡信息失败！</translation>
    </message>
    <message>
        <source>Failed to write standard color card data!</source>
        <translation>写入标准色卡数据失败！</translation>
    </message>
    <message>
        <source>Failed to write!</source>
        <translation>写入失败！</translation>
    </message>
    <message>
        <source>Failed to write empty packet!</source>
        <translation>写入结束包失败！</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>仪器型号</translation>
    </message>
    <message>
        <source>SN</source>
        <translation>序列号</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>测量时间</translation>
    </message>
    <message>
        <source>Standard Haze</source>
        <translation>标准雾度</translation>
    </message>
    <message>
        <source>Standard Transmittance</source>
        <translation>标准透过率</translation>
    </message>
    <message>
        <source>Sample Haze</source>
        <translation>样品雾度</translation>
    </message>
    <message>
        <source>Sample Transmittance</source>
        <translation>样品透过率</translation>
    </message>
    <message>
        <source>Haze Tolerance</source>
        <translation>雾度容差</translation>
    </message>
    <message>
        <source>Transmittance Tolerance</source>
        <translation>透过率容差</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>判定结果</translation>
    </message>
    <message>
        <source>Standard L*</source>
        <translation>标准 L*</translation>
    </message>
    <message>
        <source>Standard a*</source>
        <translation>标准 a*</translation>
    </message>
    <message>
        <source>Standard b*</source>
        <translation>标准 b*</translation>
    </message>
    <message>
        <source>Sample L*</source>
        <translation>样品 L*</translation>
    </message>
    <message>
        <source>Sample a*</source>
        <translation>样品 a*</translation>
    </message>
    <message>
        <source>Sample b*</source>
        <translation>样品 b*</translation>
    </message>
    <message>
        <source>Standard C*</source>
        <translation>标准 C*</translation>
    </message>
    <message>
        <source>Standard h</source>
        <translation>标准 h</translation>
    </message>
    <message>
        <source>Sample C*</source>
        <translation>样品 C*</translation>
    </message>
    <message>
        <source>Sample h</source>
        <translation>样品 h</translation>
    </message>
    <message>
        <source>Standard Y</source>
        <translation>标准 Y</translation>
    </message>
    <message>
        <source>Standard x</source>
        <translation>标准 x</translation>
    </message>
    <message>
        <source>Standard y</source>
        <translation>标准 y</translation>
    </message>
    <message>
        <source>Sample Y</source>
        <translation>样品 Y</translation>
    </message>
    <message>
        <source>Sample x</source>
        <translation>样品 x</translation>
    </message>
    <message>
        <source>Sample y</source>
        <translation>样品 y</translation>
    </message>
    <message>
        <source>Storing data,please wait...</source>
        <translation>正在保存数据，请稍候...</translation>
    </message>
    <message>
        <source>cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Colorimeter</source>
        <translation>导入记录</translation>
    </message>
    <message>
        <source>Data import willempty the list, to save data first?</source>
        <translation>导入数据将清空列表，是否先保存数据？</translation>
    </message>
    <message>
        <source>difference history data error, unable to export!</source>
        <translation>色差历史数据错误，无法导出！</translation>
    </message>
    <message>
        <source>Failed to read the number of color difference records!</source>
        <translation>读取色差记录条数失败！</translation>
    </message>
    <message>
        <source>Reading difference recording lab data failed!</source>
        <translation>读取色差记录 Lab 数据失败！</translation>
    </message>
    <message>
        <source>Failed to read color difference record name data!</source>
        <translation>读取色差记录名称数据失败！</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>No comparison record!</source>
        <translation>没有对比记录！</translation>
    </message>
    <message>
        <source>Color difference history data error, unable to export!</source>
        <translation>色差历史数据错误，无法导出！</translation>
    </message>
    <message>
        <source>Reading color difference recording lab data failed!</source>
        <translation>读取色差记录 Lab 数据失败！</translation>
    </message>
    <message>
        <source>No data for Storing to Excel!</source>
        <translation>没有可保存到 Excel 的数据！</translation>
    </message>
    <message>
        <source>Storing data to Excel</source>
        <translation>保存数据到 Excel</translation>
    </message>
    <message>
        <source>excel file (*.xlsx)</source>
        <translation>Excel 文件 (*.xlsx)</translation>
    </message>
    <message>
        <source>Can't overwrite this file, maybe the file is in use!</source>
        <translation>无法覆盖该文件，文件可能正被占用！</translation>
    </message>
    <message>
        <source>Failed to export data to excel file</source>
        <translation>导出数据到 Excel 文件失败</translation>
    </message>
    <message>
        <source>Storing data</source>
        <translation>保存数据</translation>
    </message>
    <message>
        <source>Data stored to file Success</source>
        <translation>数据已成功保存到文件</translation>
    </message>
    <message>
        <source>Write to standard color card library successfully!</source>
        <translation>标准色卡库写入成功！</translation>
    </message>
    <message>
        <source>The cards ask for %1 colour rows, more than the %2 a library holds!</source>
        <translation>标准色卡共需 %1 行颜色数据，超过色库可容纳的 %2 行！</translation>
    </message>
    <message>
        <source>History</source>
        <translation>历史记录</translation>
    </message>
    <message>
        <source>The measurement history is off: %1
Measuring goes on; the results are kept and written once the history can be used.</source>
        <translation>测量历史记录已关闭：%1
测量可继续进行；结果会保留，待历史记录可用时再写入。</translation>
    </message>
    <message numerus="yes">
        <source>%n row(s) of the last run restored.</source>
        <translation>
            <numerusform>已恢复上次运行的 %n 行。</numerusform>
        </translation>
    </message>
    <message>
        <source>History off: %1</source>
        <translation>历史记录已关闭：%1</translation>
    </message>
    <message numerus="yes">
        <source>Lab database not synced (%n row(s) waiting).</source>
        <translation>
            <numerusform>实验室数据库未同步（%n 行等待中）。</numerusform>
        </translation>
    </message>
    <message>
        <source>The selected rows were measured in different display modes; export the rows of one mode at a time.</source>
        <translation>所选行的显示模式不同；请每次只导出同一模式的行。</translation>
    </message>
    <message>
        <source>Analysis</source>
        <translation>分析</translation>
    </message>
    <message>
        <source>Readings per measurement</source>
        <translation>每次测量读数</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Reading %1 of %2</source>
        <translation>第 %1 次读数,共 %2 次</translation>
    </message>
    <message>
        <source>Failed to export data to CSV file</source>
        <translation>导出数据到 CSV 文件失败</translation>
    </message>
    <message>
        <source>Data stored to file: %1</source>
        <translation>数据已成功保存到文件: %1</translation>
    </message>
    <message>
        <source>CSV file, numbers only (*.csv)</source>
        <translation>CSV 文件, 仅数值 (*.csv)</translation>
    </message>
    <message>
        <source>Select one Excel files to open</source>
        <translation>选择要打开的 Excel 文件</translation>
    </message>
    <message>
        <source>Cell %1 is empty: a colour value is a number with at most two decimals from -327.68 to 327.67!</source>
        <translation>单元格%1为空：颜色值须为-327.68到327.67之间、最多两位小数的数字！</translation>
    </message>
    <message>
        <source>Cell %1 holds "%2", not a number with at most two decimals from -327.68 to 327.67!</source>
        <translation>单元格%1的内容“%2”不是-327.68到327.67之间、最多两位小数的数字！</translation>
    </message>
    <message>
        <source>The library %1 was not found!</source>
        <translation>找不到标准色卡库文件%1！</translation>
    </message>
    <message>
        <source>The records could not be kept in the history; none was added to the list.</source>
        <translation>记录无法保存到历史记录中；未向列表添加任何记录。</translation>
    </message>
    <message>
        <source>"%1" is not a number. The standard keeps %2.</source>
        <translation>“%1”不是数字。标准保持为 %2。</translation>
    </message>
    <message numerus="yes">
        <source>%n comparison(s) of another display mode or instrument were moved to the history (History button).</source>
        <translation>
            <numerusform>%n 条其他显示模式或其他仪器的对比已移至历史记录（历史记录按钮）。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Import stopped: %n record(s) read before the stop were added.</source>
        <translation>
            <numerusform>导入已停止：已添加停止前读取的 %n 条记录。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n record(s) were already in the list and were not added again.</source>
        <translation>
            <numerusform>%n 条记录已在列表中，未重复添加。</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>HistoryDatabase</name>
    <message>
        <source>The history database %1 is locked by another program.</source>
        <translation>历史数据库 %1 被另一个程序锁定。</translation>
    </message>
    <message>
        <source>The history database %1 cannot be written: it is read-only.</source>
        <translation>历史数据库 %1 无法写入：它是只读的。</translation>
    </message>
    <message>
        <source>The history database %1 is damaged.</source>
        <translation>历史数据库 %1 已损坏。</translation>
    </message>
    <message>
        <source>The disk of the history database %1 is full.</source>
        <translation>历史数据库 %1 所在的磁盘已满。</translation>
    </message>
    <message>
        <source>The history database %1 cannot be opened: %2</source>
        <translation>无法打开历史数据库 %1：%2</translation>
    </message>
    <message>
        <source>The history database %1 failed: %2</source>
        <translation>历史数据库 %1 出错：%2</translation>
    </message>
    <message>
        <source>The database driver %1 is not installed.</source>
        <translation>未安装数据库驱动 %1。</translation>
    </message>
    <message>
        <source>The lab database %1 cannot be reached: %2</source>
        <translation>无法连接实验室数据库 %1：%2</translation>
    </message>
    <message>
        <source>The history database %1 was written by a newer version of the program (schema %2; this one knows %3). It is left untouched.</source>
        <translation>历史数据库 %1 由更新版本的程序写入（结构版本 %2，本程序支持 %3），未作任何改动。</translation>
    </message>
    <message>
        <source>not open</source>
        <translation>未打开</translation>
    </message>
    <message>
        <source>The lab database %1 refused the copy: %2</source>
        <translation>实验室数据库 %1 拒绝了复制：%2</translation>
    </message>
    <message>
        <source>The history database %1 cannot be written: %2</source>
        <translation>无法写入历史数据库 %1：%2</translation>
    </message>
    <message>
        <source>The history database %1 is damaged: its schema version is missing or not a number, and its tables are not those of any version of the program. It is left untouched.</source>
        <translation>历史数据库 %1 已损坏：其结构版本缺失或不是数字，且其数据表不属于本程序的任何版本。该文件保持原样，未作改动。</translation>
    </message>
    <message>
        <source>The history database %1 had lost its schema version; its tables are those of version %2, which is written down again.</source>
        <translation>历史数据库 %1 丢失了结构版本；其数据表属于版本 %2，已重新记录该版本。</translation>
    </message>
</context>
<context>
    <name>HistoryUrl</name>
    <message>
        <source>The SQLite URL names no file.</source>
        <translation>SQLite 地址中没有文件名。</translation>
    </message>
    <message>
        <source>Unknown database URL "%1": use sqlite:PATH or postgresql://host/dbname.</source>
        <translation>未知的数据库地址“%1”：请使用 sqlite:路径 或 postgresql://主机/数据库名。</translation>
    </message>
    <message>
        <source>The database URL is not valid: %1</source>
        <translation>数据库地址无效：%1</translation>
    </message>
    <message>
        <source>The database URL holds a password; keep it in ~/.pgpass instead.</source>
        <translation>数据库地址中含有密码；请将密码保存在 ~/.pgpass 中。</translation>
    </message>
    <message>
        <source>The database URL names no database.</source>
        <translation>数据库地址中没有数据库名。</translation>
    </message>
</context>
<context>
    <name>InformationPageFor510</name>
    <message>
        <source>Report</source>
        <translation>报告</translation>
    </message>
    <message>
        <source>information</source>
        <translation>报告信息</translation>
    </message>
    <message>
        <source>Device:</source>
        <translation>仪器型号：</translation>
    </message>
    <message>
        <source>SN:</source>
        <translation>序列号：</translation>
    </message>
    <message>
        <source>Company:</source>
        <translation>公司名称：</translation>
    </message>
    <message>
        <source>Sample Name:</source>
        <translation>样品名称：</translation>
    </message>
    <message>
        <source>Test Time:</source>
        <translation>测试时间：</translation>
    </message>
    <message>
        <source>Tester:</source>
        <translation>测试人：</translation>
    </message>
    <message>
        <source>Auditor:</source>
        <translation>审核人：</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>InformationPageFor620</name>
    <message>
        <source>Report</source>
        <translation>报告</translation>
    </message>
    <message>
        <source>information</source>
        <translation>报告信息</translation>
    </message>
    <message>
        <source>Device:</source>
        <translation>仪器型号：</translation>
    </message>
    <message>
        <source>SN:</source>
        <translation>序列号：</translation>
    </message>
    <message>
        <source>Company:</source>
        <translation>公司名称：</translation>
    </message>
    <message>
        <source>Sample Name:</source>
        <translation>样品名称：</translation>
    </message>
    <message>
        <source>△E formula:</source>
        <translation>△E 公式：</translation>
    </message>
    <message>
        <source>△E Thresholds:</source>
        <translation>△E 阈值：</translation>
    </message>
    <message>
        <source>Test Time:</source>
        <translation>测试时间：</translation>
    </message>
    <message>
        <source>Tester:</source>
        <translation>测试人：</translation>
    </message>
    <message>
        <source>Auditor:</source>
        <translation>审核人：</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
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
        <translation>未连接仪器</translation>
    </message>
    <message numerus="yes">
        <source>%n change(s) the history has not taken yet.</source>
        <translation>
            <numerusform>%n 项更改尚未写入历史记录。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n reading(s) of a set not yet complete.</source>
        <translation>
            <numerusform>%n 次读数所属的一组测量尚未完成。</numerusform>
        </translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>退出</translation>
    </message>
    <message>
        <source>Quitting now loses:
%1
Quit anyway?</source>
        <translation>现在退出将丢失：
%1
仍要退出吗？</translation>
    </message>
    <message>
        <source>Product: %1</source>
        <translation>产品：%1</translation>
    </message>
    <message>
        <source>Lot: %1</source>
        <translation>批次：%1</translation>
    </message>
</context>
<context>
    <name>MeterPageFor510</name>
    <message>
        <source>Transmittance(%)</source>
        <translation>透过率(%)</translation>
    </message>
    <message>
        <source>Reflectance(%)</source>
        <translation>反射率(%)</translation>
    </message>
    <message>
        <source>Wavelength(nm)</source>
        <translation>波长(nm)</translation>
    </message>
    <message>
        <source>Spectra</source>
        <translation>光谱</translation>
    </message>
    <message>
        <source>Spectral history</source>
        <translation>光谱历史记录</translation>
    </message>
    <message>
        <source>Spectral measurement</source>
        <translation>光谱测量</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>清空</translation>
    </message>
    <message>
        <source>Export Excel</source>
        <translation>导出 Excel</translation>
    </message>
    <message>
        <source>Storing data,please wait...</source>
        <translation>正在保存数据，请稍候...</translation>
    </message>
    <message>
        <source>cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Curve</source>
        <translation>曲线</translation>
    </message>
    <message>
        <source>Operation</source>
        <translation>操作</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>错误</translation>
    </message>
    <message>
        <source>Measurement exceeds the maximum quantity, please save the excel file before measuring!</source>
        <translation>测量数量已达上限，请先保存到 Excel 文件再继续测量！</translation>
    </message>
    <message>
        <source>Failed to read data information!</source>
        <translation>读取数据失败！</translation>
    </message>
    <message>
        <source>Please connect the device first!</source>
        <translation>请先连接仪器！</translation>
    </message>
    <message>
        <source>Spectral history data error, unable to export!</source>
        <translation>光谱历史数据有误，无法导出！</translation>
    </message>
    <message>
        <source>Failed to read the number of spectral records!</source>
        <translation>读取光谱记录条数失败！</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>No spectral history!</source>
        <translation>没有光谱历史记录！</translation>
    </message>
    <message>
        <source>Reading spectral recording data failed!</source>
        <translation>读取光谱记录数据失败！</translation>
    </message>
    <message>
        <source>Failed to read spectral record name data!</source>
        <translation>读取光谱记录名称失败！</translation>
    </message>
    <message>
        <source>error</source>
        <translation>错误</translation>
    </message>
    <message>
        <source>No data for Storing to Excel!</source>
        <translation>没有可保存到 Excel 的数据！</translation>
    </message>
    <message>
        <source>Storing data to Excel</source>
        <translation>保存数据到 Excel</translation>
    </message>
    <message>
        <source>excel file (*.xlsx)</source>
        <translation>Excel 文件 (*.xlsx)</translation>
    </message>
    <message>
        <source>Failed to store data, can't open file!</source>
        <translation>保存数据失败，无法打开文件！</translation>
    </message>
    <message>
        <source>Can't overwrite this file, maybe the file is in use!</source>
        <translation>无法覆盖该文件，文件可能正被占用！</translation>
    </message>
    <message>
        <source>Failed to export data to excel file</source>
        <translation>导出数据到 Excel 文件失败</translation>
    </message>
    <message>
        <source>Storing data</source>
        <translation>保存数据</translation>
    </message>
    <message>
        <source>Data stored to file Success</source>
        <translation>数据已成功保存到文件</translation>
    </message>
    <message>
        <source>Tip</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Clearing data will clear all spectral records. Are you sure you want to clear it?</source>
        <translation>清空数据将删除全部光谱记录，确定要清空吗？</translation>
    </message>
    <message>
        <source>No</source>
        <translation>序号</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>Curves</source>
        <translation>曲线</translation>
    </message>
    <message>
        <source>Import spectra</source>
        <translation>导入光谱</translation>
    </message>
    <message>
        <source>The imported spectra replace the list. Save the list to a workbook first?
Yes: save, then import. No: import without saving. Cancel: keep the list and import nothing.</source>
        <translation>导入的光谱将替换当前列表。是否先将列表保存为 Excel 文件？
是：先保存，再导入。否：不保存，直接导入。取消：保留列表，不导入。</translation>
    </message>
</context>
<context>
    <name>ProductControls</name>
    <message>
        <source>Products</source>
        <translation>产品</translation>
    </message>
    <message>
        <source>Save the standard as a product, choose a product, set the lot</source>
        <translation>将标准保存为产品、选择产品、设置批次</translation>
    </message>
    <message>
        <source>Save as product…</source>
        <translation>保存为产品…</translation>
    </message>
    <message>
        <source>Choose a product…</source>
        <translation>选择产品…</translation>
    </message>
    <message>
        <source>Lot…</source>
        <translation>批次…</translation>
    </message>
    <message>
        <source>Save as product</source>
        <translation>保存为产品</translation>
    </message>
    <message>
        <source>The standard on show and the settings in force, kept as:</source>
        <translation>将当前标准和生效的设置保存为：</translation>
    </message>
    <message>
        <source>Lot</source>
        <translation>批次</translation>
    </message>
    <message>
        <source>The lot the next comparisons are kept with (empty for none):</source>
        <translation>后续对比所属的批次（留空表示无）：</translation>
    </message>
</context>
<context>
    <name>ProductsDialog</name>
    <message>
        <source>Show retired products</source>
        <translation>显示已停用的产品</translation>
    </message>
    <message>
        <source>Use</source>
        <translation>使用</translation>
    </message>
    <message>
        <source>Use the chosen product</source>
        <translation>使用所选产品</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>重命名</translation>
    </message>
    <message>
        <source>Rename the chosen product</source>
        <translation>重命名所选产品</translation>
    </message>
    <message>
        <source>Edit tolerances</source>
        <translation>修改容差</translation>
    </message>
    <message>
        <source>Save the tolerances of the chosen product</source>
        <translation>保存所选产品的容差</translation>
    </message>
    <message>
        <source>Retire</source>
        <translation>停用</translation>
    </message>
    <message>
        <source>Retire the chosen product</source>
        <translation>停用所选产品</translation>
    </message>
    <message>
        <source>Products</source>
        <translation>产品</translation>
    </message>
    <message>
        <source>Type to filter by name or model</source>
        <translation>输入名称或型号进行筛选</translation>
    </message>
    <message>
        <source>Filter products</source>
        <translation>筛选产品</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>仪器型号</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>模式</translation>
    </message>
    <message>
        <source>Standard</source>
        <translation>标准</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>设置</translation>
    </message>
    <message>
        <source>Retired</source>
        <translation>已停用</translation>
    </message>
    <message>
        <source>Product name</source>
        <translation>产品名称</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>名称：</translation>
    </message>
    <message>
        <source>Haze/T</source>
        <translation>雾度/透过率</translation>
    </message>
    <message>
        <source>Haze</source>
        <translation>雾度</translation>
    </message>
    <message>
        <source>T</source>
        <translation>透过率</translation>
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
        <translation>雾度/透过率/Lab</translation>
    </message>
    <message>
        <source>Haze ±%1%</source>
        <translation>雾度 ±%1%</translation>
    </message>
    <message>
        <source>T ±%1%</source>
        <translation>透过率 ±%1%</translation>
    </message>
    <message>
        <source>Old layout</source>
        <translation>旧格式</translation>
    </message>
    <message>
        <source>Retire product %1? Comparisons made with it keep naming it; it can no longer be used.</source>
        <translation>停用产品 %1？用它做过的比较仍记着它；停用后不能再使用。</translation>
    </message>
    <message>
        <source>Haze Tolerance</source>
        <translation>雾度容差</translation>
    </message>
    <message>
        <source>Transmittance Tolerance</source>
        <translation>透过率容差</translation>
    </message>
    <message>
        <source>△E Thresholds</source>
        <translation>△E 阈值</translation>
    </message>
    <message>
        <source>△E formula</source>
        <translation>△E 公式</translation>
    </message>
    <message>
        <source>Haze Tolerance (%):</source>
        <translation>雾度容差（%）：</translation>
    </message>
    <message>
        <source>Transmittance Tolerance (%):</source>
        <translation>透过率容差（%）：</translation>
    </message>
    <message>
        <source>△E Thresholds:</source>
        <translation>△E 阈值：</translation>
    </message>
    <message>
        <source>△E formula:</source>
        <translation>△E 公式：</translation>
    </message>
    <message>
        <source>△E Thresholds %1</source>
        <translation>△E 阈值 %1</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Standard</source>
        <translation>标准</translation>
    </message>
    <message>
        <source>Sample</source>
        <translation>样品</translation>
    </message>
    <message>
        <source>error</source>
        <translation>错误</translation>
    </message>
</context>
<context>
    <name>ReportPage</name>
    <message>
        <source>Save Report as PDF</source>
        <translation>将报告保存为 PDF</translation>
    </message>
    <message>
        <source>PDF (*.pdf)</source>
        <translation>PDF 文件 (*.pdf)</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>错误</translation>
    </message>
    <message>
        <source>Failed to save the report as PDF!</source>
        <translation>保存 PDF 报告失败！</translation>
    </message>
</context>
<context>
    <name>ReportPageFor510</name>
    <message>
        <source>Report</source>
        <translation>报告</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>报告信息</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>打印</translation>
    </message>
    <message>
        <source>Save the report as a PDF file</source>
        <translation>将报告保存为 PDF 文件</translation>
    </message>
    <message>
        <source>PDF</source>
        <translation>PDF</translation>
    </message>
    <message>
        <source> Tester:</source>
        <translation> 测试人：</translation>
    </message>
    <message>
        <source> Auditor:</source>
        <translation> 审核人：</translation>
    </message>
</context>
<context>
    <name>ReportPageFor620</name>
    <message>
        <source>Report</source>
        <translation>报告</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>报告信息</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>打印</translation>
    </message>
    <message>
        <source>Save the report as a PDF file</source>
        <translation>将报告保存为 PDF 文件</translation>
    </message>
    <message>
        <source>PDF</source>
        <translation>PDF</translation>
    </message>
    <message>
        <source>Test Report1</source>
        <translation>测试报告</translation>
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
        <translation>测量历史数据库</translation>
    </message>
    <message>
        <source>an input of this command</source>
        <translation>本命令的输入文件</translation>
    </message>
    <message>
        <source>is a device, not a regular file</source>
        <translation>是设备，不是普通文件</translation>
    </message>
    <message>
        <source>is a FIFO, not a regular file</source>
        <translation>是命名管道，不是普通文件</translation>
    </message>
    <message>
        <source>is a socket, not a regular file</source>
        <translation>是套接字，不是普通文件</translation>
    </message>
    <message>
        <source>is not a regular file</source>
        <translation>不是普通文件</translation>
    </message>
    <message>
        <source>is a link another user could have planted; it is not followed</source>
        <translation>是其他用户可能放置的链接，不予跟随</translation>
    </message>
    <message>
        <source>is %1, which this program has open; it is not overwritten</source>
        <translation>是本程序正在使用的%1，不会被覆盖</translation>
    </message>
    <message>
        <source>is too large (%1 bytes; at most %2)</source>
        <translation>太大（%1字节；最多%2字节）</translation>
    </message>
    <message>
        <source>is a directory</source>
        <translation>是目录</translation>
    </message>
</context>
<context>
    <name>SettingsFields</name>
    <message>
        <source>Not applied yet: the instrument judges with the value it holds until this one is set.</source>
        <translation>尚未设置：在设置此值之前，仪器仍按其当前保存的值判定。</translation>
    </message>
</context>
<context>
    <name>SimulatorWindow</name>
    <message>
        <source>Virtual instrument</source>
        <translation>虚拟仪器</translation>
    </message>
    <message>
        <source>Measure</source>
        <translation>测量</translation>
    </message>
    <message>
        <source>Fill memory</source>
        <translation>填充存储记录</translation>
    </message>
    <message numerus="yes">
        <source>%n record(s) in memory</source>
        <translation>
            <numerusform>仪器中有 %n 条记录</numerusform>
        </translation>
    </message>
    <message>
        <source>%1, serial number %2</source>
        <translation>%1，序列号 %2</translation>
    </message>
    <message>
        <source>Plugged in</source>
        <translation>已连接</translation>
    </message>
    <message>
        <source>Unplugged</source>
        <translation>已断开</translation>
    </message>
    <message>
        <source>Unplug</source>
        <translation>拔出</translation>
    </message>
    <message>
        <source>Plug in</source>
        <translation>插入</translation>
    </message>
</context>
<context>
    <name>StatisticsPanel</name>
    <message>
        <source>Quantity</source>
        <translation>项目</translation>
    </message>
    <message>
        <source>n</source>
        <translation>n</translation>
    </message>
    <message>
        <source>Mean</source>
        <translation>平均值</translation>
    </message>
    <message>
        <source>SD</source>
        <translation>标准差</translation>
    </message>
    <message>
        <source>Min</source>
        <translation>最小值</translation>
    </message>
    <message>
        <source>Max</source>
        <translation>最大值</translation>
    </message>
    <message>
        <source>Range</source>
        <translation>极差</translation>
    </message>
    <message>
        <source>Statistics</source>
        <translation>统计</translation>
    </message>
    <message>
        <source>Pass rate (%)</source>
        <translation>合格率(%)</translation>
    </message>
    <message>
        <source>Capability</source>
        <translation>过程能力</translation>
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
        <translation>无批次</translation>
    </message>
    <message>
        <source>Lot: %1</source>
        <translation>批次：%1</translation>
    </message>
</context>
<context>
    <name>StdColorMaker</name>
    <message>
        <source>No model name is given.</source>
        <translation>未指定型号。</translation>
    </message>
    <message>
        <source>The list is not UTF-8 text.</source>
        <translation>列表不是 UTF-8 文本。</translation>
    </message>
    <message>
        <source>Line %1: a quoted field is not closed.</source>
        <translation>第%1行：引号括起的字段没有结束。</translation>
    </message>
    <message>
        <source>Line %1: %2 fields where a colour has 6 or 7 (colour name, card text 1, card text 2, three values, card value).</source>
        <translation>第%1行：有%2个字段，每个颜色应有6或7个（颜色名称、色卡文字1、色卡文字2、三个数值、色卡值）。</translation>
    </message>
    <message>
        <source>Line %1: the colour name is empty.</source>
        <translation>第%1行：颜色名称为空。</translation>
    </message>
    <message>
        <source>Line %1: the colour name is longer than 20 bytes.</source>
        <translation>第%1行：颜色名称超过20字节。</translation>
    </message>
    <message>
        <source>Line %1: a card text is longer than 16 bytes.</source>
        <translation>第%1行：色卡文字超过16字节。</translation>
    </message>
    <message>
        <source>Line %1: value %2 is not a number with at most two decimals from -327.68 to 327.67.</source>
        <translation>第%1行：数值%2不是-327.68到327.67之间、最多两位小数的数。</translation>
    </message>
    <message>
        <source>Line %1: the card value is not a whole number from 0 to 65535.</source>
        <translation>第%1行：色卡值不是0到65535之间的整数。</translation>
    </message>
    <message>
        <source>Line %1: this colour starts a 48th card, but the library holds at most 47 cards.</source>
        <translation>第%1行：此颜色开始第48张色卡，但色卡库最多容纳47张色卡。</translation>
    </message>
    <message>
        <source>Line %1: the card value differs from the one given for the same card on line %2.</source>
        <translation>第%1行：色卡值与第%2行为同一色卡给出的值不同。</translation>
    </message>
    <message>
        <source>The list holds no colours.</source>
        <translation>列表中没有颜色。</translation>
    </message>
    <message>
        <source>The library must be named StdColor.xlsx: the writer takes no other name.</source>
        <translation>色卡库文件必须命名为StdColor.xlsx：写入时不接受其他文件名。</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>无法读取%1：%2</translation>
    </message>
    <message>
        <source>Cannot save %1: %2</source>
        <translation>无法保存%1：%2</translation>
    </message>
    <message>
        <source>Line %1: a name or card text holds a control character.</source>
        <translation>第%1行：名称或色卡文字含有控制字符。</translation>
    </message>
    <message>
        <source>Line %1: one colour more than the %2 the instrument's library holds.</source>
        <translation>第%1行：颜色数超过仪器色卡库可容纳的%2个。</translation>
    </message>
</context>
<context>
    <name>TrendChart</name>
    <message>
        <source>△Haze</source>
        <translation>△雾度</translation>
    </message>
    <message>
        <source>△T</source>
        <translation>△透过率</translation>
    </message>
    <message>
        <source>△E</source>
        <translation>△E</translation>
    </message>
    <message>
        <source>UCL</source>
        <translation>上控制限</translation>
    </message>
    <message>
        <source>CL</source>
        <translation>中心线</translation>
    </message>
    <message>
        <source>LCL</source>
        <translation>下控制限</translation>
    </message>
</context>
<context>
    <name>WorkspaceHistory</name>
    <message numerus="yes">
        <source>%n comparison(s) left out: a value beyond what any instrument measures (the database was damaged or edited).</source>
        <translation>
            <numerusform>已略去 %n 条对比记录：其中有超出任何仪器测量范围的数值（数据库已损坏或被改动）。</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>WorkspaceKeys</name>
    <message>
        <source>Comparison table</source>
        <translation>对比表</translation>
    </message>
    <message>
        <source>Comparison list</source>
        <translation>对比列表</translation>
    </message>
    <message>
        <source>Delete removes the selected row.</source>
        <translation>按 Delete 删除选中的行。</translation>
    </message>
    <message>
        <source>Analysis</source>
        <translation>分析</translation>
    </message>
    <message>
        <source>Measure the standard (F7)</source>
        <translation>测量标准 (F7)</translation>
    </message>
    <message>
        <source>Measure a sample (F8)</source>
        <translation>测量样品 (F8)</translation>
    </message>
    <message>
        <source>Export the list (Ctrl+E)</source>
        <translation>导出列表 (Ctrl+E)</translation>
    </message>
    <message>
        <source>Open the measurement history (Ctrl+H)</source>
        <translation>打开测量历史记录 (Ctrl+H)</translation>
    </message>
    <message>
        <source>Show or hide the analysis (F9)</source>
        <translation>显示或隐藏分析 (F9)</translation>
    </message>
    <message>
        <source>Display mode</source>
        <translation>显示模式</translation>
    </message>
</context>
<context>
    <name>history::HistoryQueryModel</name>
    <message>
        <source>Serial number</source>
        <translation>序列号</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>仪器型号</translation>
    </message>
    <message>
        <source>Station</source>
        <translation>工作站</translation>
    </message>
    <message>
        <source>Source</source>
        <translation>来源</translation>
    </message>
    <message>
        <source>Display mode</source>
        <translation>显示模式</translation>
    </message>
    <message>
        <source>△Haze</source>
        <translation>△雾度</translation>
    </message>
    <message>
        <source>△T</source>
        <translation>△透过率</translation>
    </message>
    <message>
        <source>△E</source>
        <translation>△E</translation>
    </message>
    <message>
        <source>Measured</source>
        <extracomment>A comparison measured from the program (Scan Sample).</extracomment>
        <translation>软件测量</translation>
    </message>
    <message>
        <source>Sent by instrument</source>
        <extracomment>A comparison the instrument sent when measured on its own keys.</extracomment>
        <translation>仪器发送</translation>
    </message>
    <message>
        <source>Imported</source>
        <extracomment>A comparison read from the records stored in the instrument.</extracomment>
        <translation>从仪器导入</translation>
    </message>
    <message>
        <source>L*a*b*C*h</source>
        <translation>L*a*b*C*h</translation>
    </message>
    <message>
        <source>Haze/T</source>
        <translation>雾度/透过率</translation>
    </message>
    <message>
        <source>Haze</source>
        <translation>雾度</translation>
    </message>
    <message>
        <source>T</source>
        <translation>透过率</translation>
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
        <translation>雾度/透过率/Lab</translation>
    </message>
    <message>
        <source>Measured at</source>
        <translation>测量时间</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>Verdict</source>
        <translation>判定</translation>
    </message>
    <message>
        <source>Lot</source>
        <translation>批次</translation>
    </message>
</context>
<context>
    <name>history::HistoryStore</name>
    <message>
        <source>No history database is open.</source>
        <translation>没有打开的历史数据库。</translation>
    </message>
    <message>
        <source>The product could not be stored: %1</source>
        <translation>无法保存产品：%1</translation>
    </message>
    <message>
        <source>A product needs a name.</source>
        <translation>产品需要一个名称。</translation>
    </message>
    <message>
        <source>A product named %1 already exists for the %2.</source>
        <translation>%2 已有名为 %1 的产品。</translation>
    </message>
    <message>
        <source>The product is no longer in the history.</source>
        <translation>该产品已不在测量历史中。</translation>
    </message>
    <message>
        <source>Product %1 was changed on station %2; the newer edit is kept.</source>
        <translation>产品 %1 在工作站 %2 上被修改过；已保留较新的修改。</translation>
    </message>
</context>
<context>
    <name>history::HistoryWindow</name>
    <message>
        <source>History</source>
        <translation>历史记录</translation>
    </message>
    <message>
        <source>All</source>
        <translation>全部</translation>
    </message>
    <message>
        <source>the program's own file, or sqlite:PATH, or postgresql://host/dbname</source>
        <translation>程序自身的文件，或 sqlite:路径，或 postgresql://主机/数据库名</translation>
    </message>
    <message>
        <source>History off: %1</source>
        <translation>历史记录已关闭：%1</translation>
    </message>
    <message>
        <source>Synced</source>
        <translation>已同步</translation>
    </message>
    <message>
        <source>No comparisons</source>
        <translation>没有对比记录</translation>
    </message>
    <message numerus="yes">
        <source>%n comparison(s), %1% pass</source>
        <translation>
            <numerusform>%n 条对比记录，合格率 %1%</numerusform>
        </translation>
    </message>
    <message>
        <source>&amp;From</source>
        <extracomment>Filter: only comparisons measured at or after the date beside it.</extracomment>
        <translation>起始(&amp;F)</translation>
    </message>
    <message>
        <source>&amp;To</source>
        <extracomment>Filter: only comparisons measured before the date beside it.</extracomment>
        <translation>截止(&amp;T)</translation>
    </message>
    <message>
        <source>From date</source>
        <translation>起始时间</translation>
    </message>
    <message>
        <source>To date</source>
        <translation>截止时间</translation>
    </message>
    <message>
        <source>&amp;Serial number</source>
        <translation>序列号(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;Name</source>
        <translation>名称(&amp;N)</translation>
    </message>
    <message>
        <source>&amp;Verdict</source>
        <translation>判定(&amp;V)</translation>
    </message>
    <message>
        <source>&amp;Database</source>
        <translation>数据库(&amp;D)</translation>
    </message>
    <message>
        <source>&amp;Apply</source>
        <translation>应用(&amp;A)</translation>
    </message>
    <message>
        <source>&amp;Export selected...</source>
        <translation>导出所选(&amp;E)...</translation>
    </message>
    <message>
        <source>Open &amp;report</source>
        <translation>打开报告(&amp;R)</translation>
    </message>
    <message>
        <source>Comparisons</source>
        <translation>对比记录</translation>
    </message>
    <message numerus="yes">
        <source>Not synced: %n row(s)</source>
        <translation>
            <numerusform>未同步：%n 条</numerusform>
        </translation>
    </message>
    <message>
        <source>&amp;Product</source>
        <translation>产品(&amp;P)</translation>
    </message>
    <message>
        <source>&amp;Lot</source>
        <translation>批次(&amp;L)</translation>
    </message>
    <message>
        <source>Stat&amp;ion</source>
        <translation>工作站(&amp;I)</translation>
    </message>
    <message>
        <source>S&amp;how</source>
        <translation>显示(&amp;H)</translation>
    </message>
    <message>
        <source>This station</source>
        <translation>本工作站</translation>
    </message>
    <message>
        <source>Lab database (all stations)</source>
        <translation>实验室数据库（所有工作站）</translation>
    </message>
    <message>
        <source>Every station's comparisons are in the lab database: name it (postgresql://host/dbname) in the Database field to show them.</source>
        <translation>所有工作站的对比记录都在实验室数据库中：在“数据库”一栏填入它（postgresql://主机/数据库名）即可显示。</translation>
    </message>
</context>
<context>
    <name>setEParameterPageFor670</name>
    <message>
        <source>△E parameter Setting</source>
        <translation>△E 参数设置</translation>
    </message>
    <message>
        <source>△E formula:</source>
        <translation>△E 公式：</translation>
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
        <translation>△E 阈值：</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>错误</translation>
    </message>
    <message>
        <source>Please connect the device first!</source>
        <translation>请先连接仪器！</translation>
    </message>
    <message>
        <source>information</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Thresholds must between 0.1—50!</source>
        <translation>阈值必须在 0.1—50 之间！</translation>
    </message>
    <message>
        <source>Failed to write △E parameter information!</source>
        <translation>写入△E参数信息失败！</translation>
    </message>
</context>
</TS>