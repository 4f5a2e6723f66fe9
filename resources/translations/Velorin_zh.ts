<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
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
        <translation>显示参数设置</translation>
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
        <translation>统计</translation>
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
