<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>AboutDialog</name>
    <message>
        <source>About Software Torvane</source>
        <translation>关于 Torvane 软件</translation>
    </message>
    <message>
        <source>Gateway Configuration Softwre Torvane</source>
        <translation>Torvane 网关配置软件</translation>
    </message>
    <message>
        <source>Copyright (C) Veltra Automation. All rights reserved.
This program is protected by copyright law. Unauthorized copying or
distribution of it, or any part of it, is not permitted.

Sales: +86 10 0000 0001    Support: +86 10 0000 0002
E-mail: sales@veltra.example    support@veltra.example</source>
        <translation>版权所有 (C) Veltra Automation。保留所有权利。
本程序受著作权法保护。未经授权，不得复制或
分发本程序或其任何部分。

销售：+86 10 0000 0001    技术支持：+86 10 0000 0002
电子邮件：sales@veltra.example    support@veltra.example</translation>
    </message>
    <message>
        <source>More technical information, please visit:</source>
        <translation>更多技术信息，请访问：</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>版本 %1</translation>
    </message>
</context>
<context>
    <name>Checks</name>
    <message>
        <source>Please fill in the number of data for each command!</source>
        <translation>请填写每条命令的数据字节数！</translation>
    </message>
    <message>
        <source>Mapping addresses beyond the maximum range,  please decrease some commands!</source>
        <translation>映射地址超出最大范围，请减少部分命令！</translation>
    </message>
    <message>
        <source>Automatic mapping is successful</source>
        <translation>自动映射成功</translation>
    </message>
    <message>
        <source>Mapping addresses beyond the maximum range, the download fails, please decrease some commands!</source>
        <translation>映射地址超出最大范围，下载失败，请减少部分命令！</translation>
    </message>
    <message>
        <source>Download fails, the configuration does not meet the 32 bytes of a command integrity!</source>
        <translation>下载失败，配置不满足命令的 32 字节完整性要求！</translation>
    </message>
    <message>
        <source>Mapping address is invalid!</source>
        <translation>映射地址无效！</translation>
    </message>
    <message>
        <source>Mapping address conflict !
</source>
        <translation>映射地址冲突！
</translation>
    </message>
    <message>
        <source>There is invalid node!</source>
        <translation>存在无效节点！</translation>
    </message>
    <message>
        <source>At this CAN baud rate, to configure %1 RPDO commands, RPDO send cycle takes at least %2 milliseconds! Do you want to continue the download?</source>
        <translation>在当前 CAN 波特率下，配置 %1 条 RPDO 命令时，RPDO 发送周期至少需要 %2 毫秒！是否继续下载？</translation>
    </message>
    <message>
        <source>At this CAN baud rate, to configure %1 SDO commands, SDO send cycle takes at least %2 milliseconds! Do you want to continue the download?</source>
        <translation>在当前 CAN 波特率下，配置 %1 条 SDO 命令时，SDO 发送周期至少需要 %2 毫秒！是否继续下载？</translation>
    </message>
    <message>
        <source>Node-%1 and Node-%2 a strip under the command PDO COB-ID conflict!</source>
        <translation>节点 %1 与节点 %2 下有命令的 PDO COB-ID 冲突！</translation>
    </message>
</context>
<context>
    <name>Compare</name>
    <message>
        <source>Configuration Type</source>
        <translation>配置类型</translation>
    </message>
    <message>
        <source>Node</source>
        <translation>节点</translation>
    </message>
    <message>
        <source>Node Name</source>
        <translation>节点名称</translation>
    </message>
    <message>
        <source>(present)</source>
        <translation>(存在)</translation>
    </message>
    <message>
        <source>(absent)</source>
        <translation>(不存在)</translation>
    </message>
    <message>
        <source>(not sent)</source>
        <translation>(不发送)</translation>
    </message>
    <message>
        <source>The configurations are equal.</source>
        <translation>两份配置相同。</translation>
    </message>
    <message>
        <source>Node %1</source>
        <translation>节点 %1</translation>
    </message>
    <message>
        <source>%1 / %2</source>
        <translation>%1 / %2</translation>
    </message>
    <message>
        <source>%1 COB-ID %2</source>
        <translation>%1 COB-ID %2</translation>
    </message>
    <message>
        <source>%1 Index %2 Sub-index %3</source>
        <translation>%1 索引 %2 子索引 %3</translation>
    </message>
    <message>
        <source>Differences: %1</source>
        <translation>差异数: %1</translation>
    </message>
    <message>
        <source>Not compared: %1 values of fields the comparison cannot see: %2</source>
        <translation>未比较: %1 个值，以下字段无法参与比较: %2</translation>
    </message>
    <message>
        <source>cannot be taken as a download sends it: %1</source>
        <translation>无法生成下载时发送的数据: %1</translation>
    </message>
</context>
<context>
    <name>CompareWindow</name>
    <message>
        <source>Compare with Gateway</source>
        <translation>与网关比较</translation>
    </message>
    <message>
        <source>Compare with File</source>
        <translation>与文件比较</translation>
    </message>
    <message>
        <source>Place</source>
        <translation>位置</translation>
    </message>
    <message>
        <source>In this configuration</source>
        <translation>当前配置中</translation>
    </message>
    <message>
        <source>On the gateway</source>
        <translation>网关中</translation>
    </message>
    <message>
        <source>In the file</source>
        <translation>文件中</translation>
    </message>
    <message>
        <source>Copy to Clipboard</source>
        <translation>复制到剪贴板</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Compare Again</source>
        <translation>重新比较</translation>
    </message>
    <message>
        <source>The configuration has changed since this comparison</source>
        <translation>本次比较之后配置已更改</translation>
    </message>
    <message>
        <source>%1, uploaded at %2</source>
        <translation>%1，上传于 %2</translation>
    </message>
</context>
<context>
    <name>ConfigDialogs</name>
    <message>
        <source>Protocol Type Selection</source>
        <translation>协议类型选择</translation>
    </message>
    <message>
        <source>Select config type</source>
        <translation>选择配置类型</translation>
    </message>
    <message>
        <source>Old-Config</source>
        <translation>旧配置</translation>
    </message>
    <message>
        <source>New-Config</source>
        <translation>新配置</translation>
    </message>
    <message>
        <source>Save Configuration</source>
        <translation>保存配置</translation>
    </message>
    <message>
        <source>Configuration has been changed, save it or not?</source>
        <translation>配置已更改，是否保存？</translation>
    </message>
    <message>
        <source>Yes(&amp;Y)</source>
        <translation>是(&amp;Y)</translation>
    </message>
    <message>
        <source>No(&amp;N)</source>
        <translation>否(&amp;N)</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>The configuration uploaded from the gateway will replace the open configuration.</source>
        <translation>从网关上载的配置将替换当前打开的配置。</translation>
    </message>
    <message>
        <source>The XML file does not hold: %1. Save anyway?</source>
        <translation>XML 文件不保存以下参数：%1。仍要保存吗？</translation>
    </message>
    <message>
        <source>, </source>
        <translation>、</translation>
    </message>
</context>
<context>
    <name>ConfigView</name>
    <message>
        <source>Really want to calculate the mapping address automatically?</source>
        <translation>确定要自动计算映射地址吗？</translation>
    </message>
    <message>
        <source>Devices</source>
        <translation>设备</translation>
    </message>
    <message>
        <source>Configuration</source>
        <translation>配置</translation>
    </message>
    <message>
        <source>Add Node</source>
        <translation>添加节点</translation>
    </message>
    <message>
        <source>Delete Node</source>
        <translation>删除节点</translation>
    </message>
    <message>
        <source>Add Command</source>
        <translation>添加命令</translation>
    </message>
    <message>
        <source>Delete Command</source>
        <translation>删除命令</translation>
    </message>
    <message>
        <source>Copy Node</source>
        <translation>复制节点</translation>
    </message>
    <message>
        <source>Paste Node</source>
        <translation>粘贴节点</translation>
    </message>
    <message>
        <source>Add Node from Device…</source>
        <translation>从设备添加节点…</translation>
    </message>
    <message>
        <source>Add Commands from Device…</source>
        <translation>从设备添加命令…</translation>
    </message>
</context>
<context>
    <name>ConflictDialog</name>
    <message>
        <source>Conflict Detection</source>
        <translation>冲突检测</translation>
    </message>
    <message>
        <source>Command list</source>
        <translation>命令列表</translation>
    </message>
    <message>
        <source>Input area</source>
        <translation>输入区</translation>
    </message>
    <message>
        <source>Output area</source>
        <translation>输出区</translation>
    </message>
    <message>
        <source>Input</source>
        <translation>输入</translation>
    </message>
    <message>
        <source>Output</source>
        <translation>输出</translation>
    </message>
    <message>
        <source>Conflict</source>
        <translation>冲突</translation>
    </message>
</context>
<context>
    <name>DeviceCommandsDialog</name>
    <message>
        <source>Add Node from Device</source>
        <translation>从设备添加节点</translation>
    </message>
    <message>
        <source>Add Commands from Device</source>
        <translation>从设备添加命令</translation>
    </message>
    <message>
        <source>Device(&amp;D):</source>
        <translation>设备(&amp;D)：</translation>
    </message>
    <message>
        <source>File(&amp;F)…</source>
        <translation>文件(&amp;F)…</translation>
    </message>
    <message>
        <source>Node address(&amp;A):</source>
        <translation>节点地址(&amp;A)：</translation>
    </message>
    <message>
        <source>Name(&amp;N):</source>
        <translation>名称(&amp;N)：</translation>
    </message>
    <message>
        <source>Filter(&amp;T):</source>
        <translation>筛选(&amp;T)：</translation>
    </message>
    <message>
        <source>index or name, e.g. 6041 or Statusword</source>
        <translation>索引或名称，例如 6041 或 Statusword</translation>
    </message>
    <message>
        <source>Default PDOs</source>
        <translation>默认 PDO</translation>
    </message>
    <message>
        <source>Objects</source>
        <translation>对象</translation>
    </message>
    <message>
        <source>Object</source>
        <translation>对象</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>Access</source>
        <translation>访问</translation>
    </message>
    <message>
        <source>PDO mappable</source>
        <translation>可映射到 PDO</translation>
    </message>
    <message>
        <source>Bytes</source>
        <translation>字节</translation>
    </message>
    <message>
        <source>COB-ID</source>
        <translation>COB-ID</translation>
    </message>
    <message>
        <source>-&gt; Profibus In</source>
        <translation>-&gt; Profibus 输入</translation>
    </message>
    <message>
        <source>&lt;- Profibus Out</source>
        <translation>&lt;- Profibus 输出</translation>
    </message>
    <message>
        <source>yes</source>
        <translation>是</translation>
    </message>
    <message>
        <source>no</source>
        <translation>否</translation>
    </message>
    <message>
        <source>%1 (disabled)</source>
        <translation>%1（已禁用）</translation>
    </message>
    <message>
        <source>Commands to be created(&amp;C):</source>
        <translation>将要创建的命令(&amp;C)：</translation>
    </message>
    <message>
        <source>Notes of the file(&amp;O):</source>
        <translation>文件的提示(&amp;O)：</translation>
    </message>
    <message>
        <source>%1  %2  COB-ID %3  %4 bytes  %5</source>
        <translation>%1  %2  COB-ID %3  %4 字节  %5</translation>
    </message>
    <message>
        <source>%1  %2  %3 bytes  %4</source>
        <translation>%1  %2  %3 字节  %4</translation>
    </message>
    <message>
        <source>not created: %1: %2</source>
        <translation>不创建：%1：%2</translation>
    </message>
    <message>
        <source>The node cannot be added: %1</source>
        <translation>无法添加节点：%1</translation>
    </message>
    <message>
        <source>These commands were not added:
%1</source>
        <translation>以下命令未添加：
%1</translation>
    </message>
    <message>
        <source>The device library is empty: choose a file.</source>
        <translation>设备库为空：请选择文件。</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>添加</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>DeviceLibraryDialog</name>
    <message>
        <source>Device Library</source>
        <translation>设备库</translation>
    </message>
    <message>
        <source>Vendor</source>
        <translation>厂商</translation>
    </message>
    <message>
        <source>Product</source>
        <translation>产品</translation>
    </message>
    <message>
        <source>Revision</source>
        <translation>版本</translation>
    </message>
    <message>
        <source>File</source>
        <translation>文件</translation>
    </message>
    <message>
        <source>Notes</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Import(&amp;I)…</source>
        <translation>导入(&amp;I)…</translation>
    </message>
    <message>
        <source>Remove(&amp;R)</source>
        <translation>删除(&amp;R)</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Notes of %1:</source>
        <translation>%1 的提示：</translation>
    </message>
    <message>
        <source>line %1: %2</source>
        <translation>第 %1 行：%2</translation>
    </message>
    <message>
        <source>Remove %1 from the device library?</source>
        <translation>从设备库中删除 %1？</translation>
    </message>
    <message>
        <source>Imported:
%1</source>
        <translation>已导入：
%1</translation>
    </message>
    <message>
        <source>%1 (replaced)</source>
        <translation>%1（已替换）</translation>
    </message>
    <message>
        <source>The device library has no folder: set HOME or XDG_DATA_HOME to an absolute path.</source>
        <translation>设备库没有文件夹：请将 HOME 或 XDG_DATA_HOME 设为绝对路径。</translation>
    </message>
    <message>
        <source>Device description files (*.eds *.dcf *.EDS *.DCF)</source>
        <translation>设备描述文件 (*.eds *.dcf *.EDS *.DCF)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>所有文件 (*)</translation>
    </message>
</context>
<context>
    <name>Devices</name>
    <message>
        <source>%1</source>
        <translation>%1</translation>
    </message>
    <message>
        <source>holds no device description: no [DeviceInfo] section and no objects</source>
        <translation>不含设备描述：没有 [DeviceInfo] 段，也没有任何对象</translation>
    </message>
    <message>
        <source>text that is not UTF-8 (first on this line); the whole file is read as Windows-1252</source>
        <translation>文本不是 UTF-8（首次出现在此行）；整个文件按 Windows-1252 读取</translation>
    </message>
    <message>
        <source>text before the first section ignored: %1</source>
        <translation>第一个段之前的文本已忽略：%1</translation>
    </message>
    <message>
        <source>line is no key, section or comment; ignored: %1</source>
        <translation>此行不是键、段或注释，已忽略：%1</translation>
    </message>
    <message>
        <source>section name [%1 has no closing bracket; read as [%1]</source>
        <translation>段名 [%1 缺少右方括号；按 [%1] 读取</translation>
    </message>
    <message>
        <source>text after the section name [%1] ignored: %2</source>
        <translation>段名 [%1] 之后的文本已忽略：%2</translation>
    </message>
    <message>
        <source>section [%1] appears again (first at line %2); its keys are added to the first, whose values are kept</source>
        <translation>段 [%1] 再次出现（首次在第 %2 行）；其键并入首个段，首个段已有的值保留</translation>
    </message>
    <message>
        <source>[%1] %2 appears again (first at line %3); the first value is kept</source>
        <translation>[%1] %2 再次出现（首次在第 %3 行）；保留第一个值</translation>
    </message>
    <message>
        <source>unknown section [%1] ignored</source>
        <translation>未知段 [%1] 已忽略</translation>
    </message>
    <message>
        <source>[%1] describes a modular device; modules are not supported and ignored</source>
        <translation>[%1] 描述模块化设备；不支持模块，已忽略</translation>
    </message>
    <message>
        <source>no [DeviceInfo] section: the device has no names or numbers</source>
        <translation>没有 [DeviceInfo] 段：设备没有名称和编号</translation>
    </message>
    <message>
        <source>no object lists ([MandatoryObjects], [OptionalObjects], [ManufacturerObjects]); every object section is read</source>
        <translation>没有对象列表（[MandatoryObjects]、[OptionalObjects]、[ManufacturerObjects]）；读取所有对象段</translation>
    </message>
    <message>
        <source>[%1] lists object %2, which has no section</source>
        <translation>[%1] 列出了对象 %2，但该对象没有段</translation>
    </message>
    <message>
        <source>object [%1] is in no object list; read all the same</source>
        <translation>对象 [%1] 不在任何对象列表中；仍然读取</translation>
    </message>
    <message>
        <source>[%1] says SupportedObjects=%2 but lists %3 objects</source>
        <translation>[%1] 写明 SupportedObjects=%2，但列出了 %3 个对象</translation>
    </message>
    <message>
        <source>[%1] %2=%3 is no object index; ignored</source>
        <translation>[%1] %2=%3 不是对象索引，已忽略</translation>
    </message>
    <message>
        <source>sub-object [%1] has no object section [%2]</source>
        <translation>子对象 [%1] 没有对象段 [%2]</translation>
    </message>
    <message>
        <source>[%1] has no ParameterName</source>
        <translation>[%1] 没有 ParameterName</translation>
    </message>
    <message>
        <source>[%1] ObjectType=%2 is unknown; read as %3</source>
        <translation>[%1] ObjectType=%2 未知；按 %3 读取</translation>
    </message>
    <message>
        <source>[%1] says SubNumber=%2 but has %3 sub-objects</source>
        <translation>[%1] 写明 SubNumber=%2，但有 %3 个子对象</translation>
    </message>
    <message>
        <source>[%1] (%2) has no sub-objects</source>
        <translation>[%1]（%2）没有子对象</translation>
    </message>
    <message>
        <source>[%1] has CompactSubObj but is no ARRAY; CompactSubObj ignored</source>
        <translation>[%1] 有 CompactSubObj 但不是 ARRAY；CompactSubObj 已忽略</translation>
    </message>
    <message>
        <source>[%1] has CompactSubObj and sub-object sections; the sections are read</source>
        <translation>[%1] 既有 CompactSubObj 又有子对象段；读取子对象段</translation>
    </message>
    <message>
        <source>[%1] has no DataType</source>
        <translation>[%1] 没有 DataType</translation>
    </message>
    <message>
        <source>[%1] DataType=%2 is no CiA 301 basic type; its size is unknown</source>
        <translation>[%1] DataType=%2 不是 CiA 301 基本类型；大小未知</translation>
    </message>
    <message>
        <source>[%1] has no AccessType</source>
        <translation>[%1] 没有 AccessType</translation>
    </message>
    <message>
        <source>[%1] AccessType=%2 is unknown; neither read nor written</source>
        <translation>[%1] AccessType=%2 未知；既不读也不写</translation>
    </message>
    <message>
        <source>[%1] %2 is empty</source>
        <translation>[%1] %2 为空</translation>
    </message>
    <message>
        <source>[%1] %2=%3 is no valid %4 value; ignored</source>
        <translation>[%1] %2=%3 不是有效的 %4 值，已忽略</translation>
    </message>
    <message>
        <source>[%1] %2=%3 is no number; ignored</source>
        <translation>[%1] %2=%3 不是数字，已忽略</translation>
    </message>
    <message>
        <source>ParameterValue belongs to DCF files; in this EDS file the default PDOs use DefaultValue</source>
        <translation>ParameterValue 属于 DCF 文件；此 EDS 文件的默认 PDO 使用 DefaultValue</translation>
    </message>
    <message>
        <source>[DeviceInfo] says %1=%2 but the file describes %3 such PDOs</source>
        <translation>[DeviceInfo] 写明 %1=%2，但文件描述了 %3 个此类 PDO</translation>
    </message>
    <message>
        <source>%1 has no usable COB-ID in [%2]</source>
        <translation>%1 在 [%2] 中没有可用的 COB-ID</translation>
    </message>
    <message>
        <source>%1 has a 29-bit COB-ID (%2), which the gateway cannot use</source>
        <translation>%1 使用 29 位 COB-ID（%2），网关无法使用</translation>
    </message>
    <message>
        <source>%1 has no mapping object [%2]</source>
        <translation>%1 没有映射对象 [%2]</translation>
    </message>
    <message>
        <source>%1 maps %2 objects but mapping entry %3 is missing</source>
        <translation>%1 映射 %2 个对象，但缺少映射条目 %3</translation>
    </message>
    <message>
        <source>%1 mapping entry %2 (%3) maps nothing; ignored</source>
        <translation>%1 的映射条目 %2（%3）没有映射任何内容，已忽略</translation>
    </message>
    <message>
        <source>%1 maps %2 sub %3, which the file does not describe</source>
        <translation>%1 映射了 %2 子索引 %3，但文件中没有描述该对象</translation>
    </message>
    <message>
        <source>%1 maps %2 sub %3 with %4 bits, but its type %5 has %6 bits</source>
        <translation>%1 以 %4 位映射 %2 子索引 %3，但其类型 %5 为 %6 位</translation>
    </message>
    <message>
        <source>%1 maps %2 bits, more than the 64 of a CAN frame</source>
        <translation>%1 映射 %2 位，超过 CAN 帧的 64 位</translation>
    </message>
    <message>
        <source>%1 more notes left out</source>
        <translation>另有 %1 条提示未列出</translation>
    </message>
    <message>
        <source>cannot create the device library %1: %2</source>
        <translation>无法创建设备库 %1：%2</translation>
    </message>
    <message>
        <source>not imported, the library is left as it was: %1</source>
        <translation>未导入，设备库保持不变：%1</translation>
    </message>
    <message>
        <source>describes the same device as %1 (%2); import one of them</source>
        <translation>与 %1 描述同一设备（%2）；请只导入其中一个</translation>
    </message>
    <message>
        <source>would replace %1 of the library, which holds another device (%2)</source>
        <translation>将替换设备库中的 %1，而它保存的是另一个设备（%2）</translation>
    </message>
    <message>
        <source>no device %1 in the library %2</source>
        <translation>设备库 %2 中没有设备 %1</translation>
    </message>
    <message>
        <source>cannot remove %1: %2</source>
        <translation>无法删除 %1：%2</translation>
    </message>
    <message>
        <source>%1 of the library is left out: %2</source>
        <translation>设备库中的 %1 未列出：%2</translation>
    </message>
    <message>
        <source>[%1] %2 is longer than the 241 characters CiA 306 allows; cut</source>
        <translation>[%1] %2 超过 CiA 306 允许的 241 个字符，已截断</translation>
    </message>
    <message>
        <source>[%1] CompactSubObj=%2: the texts its sub-objects would share are too long; the sub-objects are left out</source>
        <translation>[%1] CompactSubObj=%2：各子对象共用的文本过长；子对象未列出</translation>
    </message>
    <message>
        <source>%1 has no COB-ID for node %2</source>
        <translation>%1 没有节点 %2 的 COB-ID</translation>
    </message>
    <message>
        <source>%1 has a 29-bit COB-ID, which the gateway cannot use</source>
        <translation>%1 使用 29 位 COB-ID，网关无法使用</translation>
    </message>
    <message>
        <source>%1 maps no data</source>
        <translation>%1 未映射任何数据</translation>
    </message>
    <message>
        <source>%1 maps %2 bits, which do not end on a byte</source>
        <translation>%1 映射 %2 位，不是整字节</translation>
    </message>
    <message>
        <source>%1 maps %2 bytes; a PDO command carries 1 to 8</source>
        <translation>%1 映射 %2 字节；PDO 命令只能有 1 到 8 字节</translation>
    </message>
    <message>
        <source>%1 is disabled in the device (COB-ID %2 with bit 31 set); the node must enable it</source>
        <translation>%1 在设备中被禁用（COB-ID %2 的第 31 位已置位）；必须在节点上启用它</translation>
    </message>
    <message>
        <source>the device has no object %1</source>
        <translation>设备没有对象 %1</translation>
    </message>
    <message>
        <source>%1 cannot be read (AccessType=%2)</source>
        <translation>%1 不可读 (AccessType=%2)</translation>
    </message>
    <message>
        <source>%1 cannot be written (AccessType=%2)</source>
        <translation>%1 不可写 (AccessType=%2)</translation>
    </message>
    <message>
        <source>%1 has %2 bytes; an SDO command carries 1, 2 or 4</source>
        <translation>%1 有 %2 字节；SDO 命令只能有 1、2 或 4 字节</translation>
    </message>
    <message>
        <source>%1 (%2) has no fixed size; an SDO command carries 1, 2 or 4 bytes</source>
        <translation>%1 (%2) 没有固定长度；SDO 命令只能有 1、2 或 4 字节</translation>
    </message>
</context>
<context>
    <name>Editor</name>
    <message>
        <source>Nodes overrun!</source>
        <translation>节点数量超出上限！</translation>
    </message>
    <message>
        <source>Commands number exceed the limit!</source>
        <translation>命令数量超出上限！</translation>
    </message>
    <message>
        <source>SDO commands beyond the limit (28 )!</source>
        <translation>SDO 命令数量超出上限 (28 )！</translation>
    </message>
    <message>
        <source>Transmit PDO commands beyond the limit (14 )!</source>
        <translation>发送 PDO 命令数量超出上限 (14 )！</translation>
    </message>
    <message>
        <source>Receive PDO commands beyond the limit (14 )!</source>
        <translation>接收 PDO 命令数量超出上限 (14 )！</translation>
    </message>
    <message>
        <source>Type of Protocol</source>
        <translation>协议类型</translation>
    </message>
    <message>
        <source>Number of Bytes</source>
        <translation>字节数</translation>
    </message>
    <message>
        <source>Firmware Version of Gateway:</source>
        <translation>网关固件版本：</translation>
    </message>
    <message>
        <source>CANopen Baud Rate</source>
        <translation>CANopen 波特率</translation>
    </message>
    <message>
        <source>CANopen Node ID</source>
        <translation>CANopen 节点 ID</translation>
    </message>
    <message>
        <source>SDO Response Timeout</source>
        <translation>SDO 响应超时</translation>
    </message>
    <message>
        <source>Enable NMT</source>
        <translation>启用 NMT</translation>
    </message>
    <message>
        <source>Clear Data Time for TPDO</source>
        <translation>TPDO 数据清除时间</translation>
    </message>
    <message>
        <source>Delay to Start up</source>
        <translation>启动延时</translation>
    </message>
    <message>
        <source>SYNC Cycle</source>
        <translation>SYNC 周期</translation>
    </message>
    <message>
        <source>Control&amp;Monitor Status</source>
        <translation>控制与监视状态</translation>
    </message>
    <message>
        <source>Error Control</source>
        <translation>错误控制</translation>
    </message>
    <message>
        <source>The Cycle for RPDO Transmission</source>
        <translation>RPDO 发送周期</translation>
    </message>
    <message>
        <source>Output Data Processing</source>
        <translation>输出数据处理</translation>
    </message>
    <message>
        <source>The Cycle for SDO Transmission</source>
        <translation>SDO 发送周期</translation>
    </message>
    <message>
        <source>SDO Send Concurrently</source>
        <translation>SDO 并发发送</translation>
    </message>
    <message>
        <source>Retries of SDO</source>
        <translation>SDO 重试次数</translation>
    </message>
    <message>
        <source>SDO Poll Delay Time</source>
        <translation>SDO 轮询延时</translation>
    </message>
    <message>
        <source>Clear Data Time for RPDO</source>
        <translation>RPDO 数据清除时间</translation>
    </message>
    <message>
        <source>Configuration command across a critical value 32 or 64!</source>
        <translation>配置的命令跨越了临界值 32 或 64！</translation>
    </message>
    <message>
        <source>Add Node</source>
        <translation>添加节点</translation>
    </message>
    <message>
        <source>Delete Node</source>
        <translation>删除节点</translation>
    </message>
    <message>
        <source>Paste Node</source>
        <translation>粘贴节点</translation>
    </message>
    <message>
        <source>Add Command</source>
        <translation>添加命令</translation>
    </message>
    <message>
        <source>Delete Command</source>
        <translation>删除命令</translation>
    </message>
    <message>
        <source>Calculate Mapping Address</source>
        <translation>计算映射地址</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>无标题</translation>
    </message>
    <message>
        <source>Gateway Configuration Software Torvane</source>
        <translation>Torvane 网关配置软件</translation>
    </message>
    <message>
        <source>Slave Address (1 to 127)</source>
        <translation>从站地址 (1~127)</translation>
    </message>
    <message>
        <source>Index value</source>
        <translation>索引值</translation>
    </message>
    <message>
        <source>Sub-index value</source>
        <translation>子索引值</translation>
    </message>
    <message>
        <source>Mapping Address (Decimal)</source>
        <translation>映射地址 (十进制)</translation>
    </message>
    <message>
        <source>Mnemonic Description</source>
        <translation>助记描述</translation>
    </message>
    <message>
        <source>COB-ID</source>
        <translation>COB-ID</translation>
    </message>
    <message>
        <source>Please enter the node address</source>
        <translation>请输入节点地址</translation>
    </message>
    <message>
        <source>Please fill in the text box directly with sele-defining value!</source>
        <translation>请直接在文本框中填写自定义值！</translation>
    </message>
    <message>
        <source>Illegal COB-ID address!</source>
        <translation>COB-ID 地址非法！</translation>
    </message>
    <message>
        <source>COB-ID under the same number of bytes out of range!</source>
        <translation>同一 COB-ID 下的字节数超出范围！</translation>
    </message>
    <message>
        <source>The COB-ID already exists</source>
        <translation>该 COB-ID 已存在</translation>
    </message>
    <message>
        <source>The mapping address is out of range!</source>
        <translation>映射地址超出范围！</translation>
    </message>
    <message>
        <source>Byte count of same COBID is out of range!
</source>
        <translation>同一 COBID 的字节数超出范围！
</translation>
    </message>
    <message>
        <source>When I / O byte count is 96, any command must satisfy 32 bytes of integrity.</source>
        <translation>输入/输出字节数为 96 时，每条命令都必须满足 32 字节完整性。</translation>
    </message>
    <message>
        <source>Byte count of same index and same subindex is out of range!
</source>
        <translation>同一索引和子索引的字节数超出范围！
</translation>
    </message>
    <message>
        <source>Data mapping address beyond the effective range</source>
        <translation>数据映射地址超出有效范围</translation>
    </message>
    <message>
        <source>Node address and the gateway CANopen address can not be the same!</source>
        <translation>节点地址不能与网关的 CANopen 地址相同！</translation>
    </message>
    <message>
        <source>Node address can not be repetitive!</source>
        <translation>节点地址不能重复！</translation>
    </message>
    <message>
        <source>After changing the node address, COB-ID illegal under a command of this node, re-enter the correct COB-ID!</source>
        <translation>修改节点地址后，该节点下某条命令的 COB-ID 非法，请重新输入正确的 COB-ID！</translation>
    </message>
    <message>
        <source>Upload SDO -&gt; Profibus In</source>
        <translation>Upload SDO -&gt; Profibus 输入</translation>
    </message>
    <message>
        <source>Download SDO &lt;- Profibus Out</source>
        <translation>Download SDO &lt;- Profibus 输出</translation>
    </message>
    <message>
        <source>Transmit PDO -&gt; Profibus In</source>
        <translation>Transmit PDO -&gt; Profibus 输入</translation>
    </message>
    <message>
        <source>Receive PDO &lt;- Profibus Out</source>
        <translation>Receive PDO &lt;- Profibus 输出</translation>
    </message>
    <message>
        <source>Transmit PDO &lt;- Profibus Out</source>
        <translation>Transmit PDO &lt;- Profibus 输出</translation>
    </message>
    <message>
        <source>Receive PDO -&gt; Profibus In</source>
        <translation>Receive PDO -&gt; Profibus 输入</translation>
    </message>
    <message>
        <source>Command more than the upper limit (84)!</source>
        <translation>命令数量超过上限 (84)！</translation>
    </message>
    <message>
        <source>Transmit PDO Command is more than 42</source>
        <translation>发送 PDO 命令超过 42 条</translation>
    </message>
    <message>
        <source>Receive PDO Command is more than 42</source>
        <translation>接收 PDO 命令超过 42 条</translation>
    </message>
    <message>
        <source>Transmit PDO commands beyond the limit (42 )!</source>
        <translation>发送 PDO 命令数量超出上限 (42 )！</translation>
    </message>
    <message>
        <source>Receive PDO commands beyond the limit (42 )!</source>
        <translation>接收 PDO 命令数量超出上限 (42 )！</translation>
    </message>
    <message>
        <source>84-command cut</source>
        <translation>截取为 84 条命令</translation>
    </message>
    <message>
        <source>mapping addresses</source>
        <translation>映射地址</translation>
    </message>
    <message>
        <source>configuration layout</source>
        <translation>配置格式</translation>
    </message>
    <message>
        <source>A byte count is needed; allowed 1, 2 or 4</source>
        <translation>需要输入字节数；允许 1、2 或 4</translation>
    </message>
    <message>
        <source>Download (%1)</source>
        <translation>下载（%1）</translation>
    </message>
    <message>
        <source>The COB-ID and node-%1 command an Article PDO COB-ID conflict</source>
        <translation>该 COB-ID 与节点 %1 下某条命令的 PDO COB-ID 冲突</translation>
    </message>
    <message>
        <source>After changing the node address, COB-ID conflict a command of COB-ID and node a command of the node-%1, the COB-ID will be empty!</source>
        <translation>修改节点地址后，本节点某条命令的 COB-ID 与节点 %1 下某条命令的 COB-ID 冲突，该 COB-ID 将被清空！</translation>
    </message>
    <message>
        <source>A value is needed; allowed %1 to %2</source>
        <translation>需要输入数值；允许范围 %1 到 %2</translation>
    </message>
    <message>
        <source>%1 is not a plain decimal number; allowed %2 to %3</source>
        <translation>%1 不是普通的十进制数；允许范围 %2 到 %3</translation>
    </message>
    <message>
        <source>%1 is out of range; allowed %2 to %3</source>
        <translation>%1 超出范围；允许范围 %2 到 %3</translation>
    </message>
    <message>
        <source>%1 is not an allowed byte count; allowed 1, 2 or 4</source>
        <translation>%1 不是允许的字节数；允许 1、2 或 4</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not in the list</source>
        <translation>“%1”不在列表中</translation>
    </message>
    <message>
        <source>%1 is not a decimal number; type 0x%1 for hex</source>
        <translation>%1 不是十进制数；十六进制请输入 0x%1</translation>
    </message>
    <message>
        <source>%1 is read as decimal (0x%2); type 0x%1 for hex</source>
        <translation>%1 按十进制读取 (0x%2)；十六进制请输入 0x%1</translation>
    </message>
    <message>
        <source>Add Node from Device</source>
        <translation>从设备添加节点</translation>
    </message>
    <message>
        <source>Add Commands from Device</source>
        <translation>从设备添加命令</translation>
    </message>
    <message>
        <source>only a CANopen Master configuration has nodes</source>
        <translation>只有 CANopen 主站配置才有节点</translation>
    </message>
    <message>
        <source>the editor keeps %1 out</source>
        <translation>编辑器不接受 %1</translation>
    </message>
</context>
<context>
    <name>Export</name>
    <message>
        <source>Create EDS File Error!!</source>
        <translation>创建 EDS 文件出错！</translation>
    </message>
    <message>
        <source>Cannot read the EDS template file %1</source>
        <translation>无法读取 EDS 模板文件 %1</translation>
    </message>
    <message>
        <source>Cannot read the workbook template %1</source>
        <translation>无法读取工作簿模板 %1</translation>
    </message>
    <message>
        <source>The workbook template is damaged: %1</source>
        <translation>工作簿模板已损坏: %1</translation>
    </message>
    <message>
        <source>Cannot save the workbook %1</source>
        <translation>无法保存工作簿 %1</translation>
    </message>
    <message>
        <source>%1 does not exist</source>
        <translation>%1 不存在</translation>
    </message>
    <message>
        <source>%1 is not a file</source>
        <translation>%1 不是文件</translation>
    </message>
    <message>
        <source>not a zip package: %1</source>
        <translation>不是 zip 包: %1</translation>
    </message>
    <message>
        <source>part %1 is missing</source>
        <translation>缺少部件 %1</translation>
    </message>
    <message>
        <source>part %1 is too large</source>
        <translation>部件 %1 过大</translation>
    </message>
    <message>
        <source>part %1 cannot be opened: %2</source>
        <translation>无法打开部件 %1: %2</translation>
    </message>
    <message>
        <source>part %1 cannot be read</source>
        <translation>无法读取部件 %1</translation>
    </message>
    <message>
        <source>part %1 is not XML</source>
        <translation>部件 %1 不是 XML</translation>
    </message>
    <message>
        <source>no workbook part</source>
        <translation>没有工作簿部件</translation>
    </message>
    <message>
        <source>the workbook lists no sheets</source>
        <translation>工作簿中没有列出工作表</translation>
    </message>
    <message>
        <source>sheet &quot;%1&quot; is missing</source>
        <translation>缺少工作表 &quot;%1&quot;</translation>
    </message>
    <message>
        <source>sheet &quot;%1&quot;: %2</source>
        <translation>工作表 &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>cannot replace a sheet: %1</source>
        <translation>无法替换工作表: %1</translation>
    </message>
    <message>
        <source>cannot write the package: %1</source>
        <translation>无法写入包: %1</translation>
    </message>
    <message>
        <source>cannot read the written package</source>
        <translation>无法读取写入的包</translation>
    </message>
    <message>
        <source>no worksheet element</source>
        <translation>没有 worksheet 元素</translation>
    </message>
    <message>
        <source>no sheetData element</source>
        <translation>没有 sheetData 元素</translation>
    </message>
    <message>
        <source>rows out of order</source>
        <translation>行的顺序错误</translation>
    </message>
    <message>
        <source>bad cell reference %1</source>
        <translation>单元格引用 %1 错误</translation>
    </message>
    <message>
        <source>cells out of order in row %1</source>
        <translation>第 %1 行中单元格的顺序错误</translation>
    </message>
    <message>
        <source>cell outside the sheet</source>
        <translation>单元格超出工作表范围</translation>
    </message>
</context>
<context>
    <name>Files</name>
    <message>
        <source>Config File(*.chg)</source>
        <translation>配置文件(*.chg)</translation>
    </message>
    <message>
        <source>XML File(*.xml)</source>
        <translation>XML 文件(*.xml)</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>不是普通文件</translation>
    </message>
    <message>
        <source>it is a folder</source>
        <translation>这是一个文件夹</translation>
    </message>
    <message>
        <source>holds no configuration</source>
        <translation>不包含配置</translation>
    </message>
    <message>
        <source>cannot save %1: %2</source>
        <translation>无法保存 %1: %2</translation>
    </message>
    <message>
        <source>cannot read %1: %2</source>
        <translation>无法读取 %1: %2</translation>
    </message>
    <message>
        <source>cannot open %1: %2</source>
        <translation>无法打开 %1: %2</translation>
    </message>
    <message>
        <source>larger than %1 bytes</source>
        <translation>大于 %1 字节</translation>
    </message>
    <message>
        <source>no program is reading from the pipe</source>
        <translation>没有程序在读取该管道</translation>
    </message>
    <message>
        <source>the folder %1 does not exist</source>
        <translation>文件夹 %1 不存在</translation>
    </message>
    <message>
        <source>the folder %1 is not writable: %2</source>
        <translation>文件夹 %1 不可写: %2</translation>
    </message>
    <message>
        <source>the file holds no XML element</source>
        <translation>文件中没有 XML 元素</translation>
    </message>
    <message>
        <source>the file holds no readable XML element (%1)</source>
        <translation>文件中没有可读取的 XML 元素 (%1)</translation>
    </message>
    <message>
        <source>no element found</source>
        <translation>未找到元素</translation>
    </message>
    <message>
        <source>malformed at line %1</source>
        <translation>第 %1 行格式错误</translation>
    </message>
    <message>
        <source>damaged at line %1; read as far as it goes</source>
        <translation>第 %1 行已损坏；已读取损坏前的内容</translation>
    </message>
    <message>
        <source>not a readable configuration archive: %1</source>
        <translation>不是可读取的配置存档: %1</translation>
    </message>
    <message>
        <source>file ends early at byte %1 (expected %2)</source>
        <translation>文件在第 %1 字节处提前结束 (缺少%2)</translation>
    </message>
    <message>
        <source>a byte</source>
        <translation>一个字节</translation>
    </message>
    <message>
        <source>a 16-bit word</source>
        <translation>一个 16 位字</translation>
    </message>
    <message>
        <source>a 32-bit word</source>
        <translation>一个 32 位字</translation>
    </message>
    <message>
        <source>a 64-bit word</source>
        <translation>一个 64 位字</translation>
    </message>
    <message>
        <source>file ends early: text %1 at byte %2 claims %3 bytes, only %4 bytes remain</source>
        <translation>文件提前结束: 第 %2 字节处的文本 %1 声明有 %3 字节，但只剩 %4 字节</translation>
    </message>
    <message>
        <source>file ends early: text %1 at byte %2 claims %3 wide characters, only %4 bytes remain</source>
        <translation>文件提前结束: 第 %2 字节处的文本 %1 声明有 %3 个宽字符，但只剩 %4 字节</translation>
    </message>
    <message>
        <source>object header at byte %1 has class tag %2 instead of 65535</source>
        <translation>第 %1 字节处的对象头的类标记为 %2，而不是 65535</translation>
    </message>
    <message>
        <source>object header at byte %1 has schema %2 instead of 1</source>
        <translation>第 %1 字节处的对象头的版本号为 %2，而不是 1</translation>
    </message>
    <message>
        <source>object header at byte %1 is cut short</source>
        <translation>第 %1 字节处的对象头不完整</translation>
    </message>
    <message>
        <source>object header at byte %1 names class &quot;%2&quot; instead of &quot;%3&quot;</source>
        <translation>第 %1 字节处的对象头的类名为 &quot;%2&quot;，而不是 &quot;%3&quot;</translation>
    </message>
    <message>
        <source>NodeCount %1 at byte %2 exceeds the %3 node entries</source>
        <translation>第 %2 字节处的 NodeCount %1 超出了 %3 个节点条目</translation>
    </message>
    <message>
        <source>InstructionCount %1 at byte %2 exceeds the %3 command slots</source>
        <translation>第 %2 字节处的 InstructionCount %1 超出了 %3 个命令位置</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
</context>
<context>
    <name>FormatDialog</name>
    <message>
        <source>Select</source>
        <translation>选择</translation>
    </message>
    <message>
        <source>The open configuration was made with an earlier version of this program. The compatible format keeps the old download method for gateways with the earlier firmware; the new format is for all other gateways.</source>
        <translation>当前打开的配置是用本程序的早期版本创建的。兼容格式保留旧的下载方式，适用于使用早期固件的网关；新格式适用于其他所有网关。</translation>
    </message>
</context>
<context>
    <name>Help</name>
    <message>
        <source>Size of Profibus Input and Output buffer, the default value is 112.<byte value="xd"/>
When you choose 16, 48, 96, or 112 input/output bytes, total input/output bytes of CANopen command you configured should not exceed the input/output bytes you chose.<byte value="xd"/>
When you choose Set through the Profibus-DP master configuration software, total input/output bytes of CANopen command you configured should not exceed 244 bytes.</source>
        <translation>Profibus 输入和输出缓冲区的大小，默认值为 112。<byte value="xd"/>
选择 16、48、96 或 112 个输入/输出字节时，所配置的 CANopen 命令的输入/输出总字节数不应超过所选的输入/输出字节数。<byte value="xd"/>
选择“通过 Profibus-DP 主站组态软件设置”时，所配置的 CANopen 命令的输入/输出总字节数不应超过 244 字节。</translation>
    </message>
    <message>
        <source>Baud rate of CANopen, default value is 250K</source>
        <translation>CANopen 的波特率，默认值为 250K</translation>
    </message>
    <message>
        <source>This parameter is the gateway&apos;s address as CANopen node.<byte value="xd"/>
The range of the parameter value is 1 to 127. Default value is 127.</source>
        <translation>该参数为网关作为 CANopen 节点时的地址。<byte value="xd"/>
参数取值范围为 1 到 127，默认值为 127。</translation>
    </message>
    <message>
        <source>This parameter is based on 10 ms.<byte value="xd"/>
The range of the parameter value is 1 to 2000.<byte value="xd"/>
Default value is 200.<byte value="xd"/>
For example if this parameter is 200, then the SDO Response timeout is 2000ms.</source>
        <translation>该参数以 10 ms 为单位。<byte value="xd"/>
参数取值范围为 1 到 2000。<byte value="xd"/>
默认值为 200。<byte value="xd"/>
例如，该参数为 200 时，SDO 响应超时时间为 2000ms。</translation>
    </message>
    <message>
        <source>NMT is the abbreviations of Network Management for CANopen.<byte value="xd"/>
If you select &quot;Enable&quot;, the gateway will serve as Network Manager.</source>
        <translation>NMT 是 CANopen 网络管理 (Network Management) 的缩写。<byte value="xd"/>
如果选择 &quot;Enable&quot;，网关将作为网络管理者 (NMT 主站)。</translation>
    </message>
    <message>
        <source>This parameter is based on 10ms, the gateway will clear the corresponding date buffer when the specified timeout is reached.<byte value="xd"/>
If this parameter is 0 the gateway will not clear the corresponding data buffer.<byte value="xd"/>
The range of the parameter value is 0 to 2000. Default value is 0.<byte value="xd"/>
For example, if this parameter is 200, then the Clear Data Time is 2000ms.</source>
        <translation>该参数以 10ms 为单位，达到指定的超时时间后，网关将清除相应的数据缓冲区。<byte value="xd"/>
如果该参数为 0，网关不清除相应的数据缓冲区。<byte value="xd"/>
参数取值范围为 0 到 2000，默认值为 0。<byte value="xd"/>
例如，该参数为 200 时，数据清除时间为 2000ms。</translation>
    </message>
    <message>
        <source>Delay to start up, this parameter is based on 10ms.<byte value="xd"/>
The gateway will send bootup after a period of time.<byte value="xd"/>
The range of the parameter value is 0 to 200.Default value is 100.</source>
        <translation>启动延时，该参数以 10ms 为单位。<byte value="xd"/>
网关在延时结束后发送 bootup 报文。<byte value="xd"/>
参数取值范围为 0 到 200，默认值为 100。</translation>
    </message>
    <message>
        <source>SYNC Cycle, this parameter is based on 10ms.<byte value="xd"/>
The gateway will send SYNC message according to SYNC Cycle.<byte value="xd"/>
The range of the parameter value is 0 to 2000. Default value is 0.</source>
        <translation>SYNC 周期，该参数以 10ms 为单位。<byte value="xd"/>
网关按照 SYNC 周期发送 SYNC 报文。<byte value="xd"/>
参数取值范围为 0 到 2000，默认值为 0。</translation>
    </message>
    <message>
        <source>When the Control&amp;&amp;Monitor Status is set to be Enable, PROFIBUS master station can read the states of CANopen slaves and also change the states of CANopen slave.</source>
        <translation>控制与监视状态设为 Enable 时，PROFIBUS 主站可以读取 CANopen 从站的状态，也可以改变 CANopen 从站的状态。</translation>
    </message>
    <message>
        <source>When the input value is not 0, it means to use life Guard protocol.<byte value="xd"/>
When the input value is 0, it means to use heartbeat protocol.<byte value="xd"/>
The default value is 0, that is, using heartbeat protocol (range: 0~2000).<byte value="xd"/>
This parameter is based on 10ms.</source>
        <translation>输入值不为 0 时，表示使用节点保护 (life guard) 协议。<byte value="xd"/>
输入值为 0 时，表示使用心跳协议。<byte value="xd"/>
默认值为 0，即使用心跳协议 (范围：0~2000)。<byte value="xd"/>
该参数以 10ms 为单位。</translation>
    </message>
    <message>
        <source>The cycle for RPDO Transmission, is based on 1ms.<byte value="xd"/>
Zero means to use the mode of change of value output;<byte value="xd"/>
Non-zero means to send all RPDO according to the cycle.<byte value="xd"/>
Sending cycle equals setting value, the default value is 0. The range: 0~60000.<byte value="xd"/>
Note: This parameter and CAN baud rate are relevant with RPDO command numbers.<byte value="xd"/>
If the system focuses on real-time performance, it is recommended to set this value to 0, that is, change of value output.</source>
        <translation>RPDO 发送周期，以 1ms 为单位。<byte value="xd"/>
为零表示采用数值变化时输出的方式；<byte value="xd"/>
非零表示按该周期发送所有 RPDO。<byte value="xd"/>
发送周期等于设定值，默认值为 0，范围：0~60000。<byte value="xd"/>
注意：该参数与 CAN 波特率和 RPDO 命令数量有关。<byte value="xd"/>
如果系统注重实时性，建议将该值设为 0，即数值变化时输出。</translation>
    </message>
    <message>
        <source>When PROFIBUS DP is off, the RPDO data of DP output buffer will Clear and Hold;<byte value="xd"/>
&quot;Clear&quot; means to set the data to zero;<byte value="xd"/>
&quot;Hold&quot; means to keep the data unchanged before DP is off.</source>
        <translation>PROFIBUS DP 断开时，DP 输出缓冲区中的 RPDO 数据可选择 Clear 或 Hold；<byte value="xd"/>
&quot;Clear&quot; 表示将数据清零；<byte value="xd"/>
&quot;Hold&quot; 表示保持 DP 断开前的数据不变。</translation>
    </message>
    <message>
        <source>The Cycle for SDO Transmission, is based on 1ms.<byte value="xd"/>
Zero means Download SDO uses mode of change of value output, Upload SDO uses the mode of non-stop reading slave data;<byte value="xd"/>
Non-zero means to send all SDO according to the cycle.<byte value="xd"/>
Sending cycle equals setting value, the default value is 0. The range: 0~60000.<byte value="xd"/>
Note: This parameter and CAN baud rate are relevant with SDO command numbers. If the system focuses on real-time performance, it is recommended to set this value to 0, that is, Download SDO uses the mode of change of value output; Upload SDO uses the mode of non-stop reading slave data.</source>
        <translation>SDO 发送周期，以 1ms 为单位。<byte value="xd"/>
为零表示下载 SDO 采用数值变化时输出的方式，上传 SDO 采用连续读取从站数据的方式；<byte value="xd"/>
非零表示按该周期发送所有 SDO。<byte value="xd"/>
发送周期等于设定值，默认值为 0，范围：0~60000。<byte value="xd"/>
注意：该参数与 CAN 波特率和 SDO 命令数量有关。如果系统注重实时性，建议将该值设为 0，即下载 SDO 采用数值变化时输出的方式，上传 SDO 采用连续读取从站数据的方式。</translation>
    </message>
    <message>
        <source>Disable: the SDO request for a node must wait for the node&apos;s response before initiating the next SDO request; <byte value="xd"/>
Enable: Sending SDOs command requests of different nodes concurrently.</source>
        <translation>Disable：对同一节点发出 SDO 请求后，必须等待该节点响应，才能发起下一个 SDO 请求； <byte value="xd"/>
Enable：并发发送不同节点的 SDO 命令请求。</translation>
    </message>
    <message>
        <source>The CANopen master sends an SDO request command but does not receive a response from the slave, and the master repeatedly sends this SDO request command. Range: 0 ~ 5, default: 0.</source>
        <translation>CANopen 主站发送 SDO 请求命令后未收到从站的响应时，主站重复发送该 SDO 请求命令的次数。范围：0 ~ 5，默认值：0。</translation>
    </message>
    <message>
        <source>The CANopen master sends the SDO request command and receives the response from the slave. The master needs to delay for a while before sending the next SDO request command. This period of time is the SDO command polling delay time. Unit: ms, Range: 0 ~ 60000ms, default: 0ms.</source>
        <translation>CANopen 主站发送 SDO 请求命令并收到从站的响应后，需要延时一段时间才能发送下一条 SDO 请求命令，这段时间即 SDO 命令轮询延时时间。单位：ms，范围：0 ~ 60000ms，默认值：0ms。</translation>
    </message>
    <message>
        <source>RPDO timeout clearing time<byte value="xd"/>
Zero indicates no timeout cleared<byte value="xd"/>
Equal nonzero value indicates a timeout clear function, and timeout is non-zero integer multiple of the value of 10 ms, ranging from 0 to 200, the default value is 0<byte value="xd"/>
For example: Fill 20, that the gateway has not received more than 200 ms set RPDO, the gateway will RPDO corresponding to the output buffer is cleared</source>
        <translation>RPDO 超时清除时间<byte value="xd"/>
为零表示不进行超时清除<byte value="xd"/>
为非零值表示启用超时清除功能，超时时间为该值乘以 10 ms，取值范围为 0 到 200，默认值为 0<byte value="xd"/>
例如：填写 20，表示网关超过 200 ms 未收到所设置的 RPDO 时，网关将清除该 RPDO 对应的输出缓冲区数据</translation>
    </message>
    <message>
        <source>Delay to start up, this parameter is based on 10ms.<byte value="xd"/>
The gateway will send bootup after a period of time.<byte value="xd"/>
The range of the parameter value is 0 to 200. Default value is 100.</source>
        <translation>启动延时，该参数以 10ms 为单位。<byte value="xd"/>
网关在延时结束后发送 bootup 报文。<byte value="xd"/>
参数取值范围为 0 到 200，默认值为 100。</translation>
    </message>
    <message>
        <source>CANopen slave address</source>
        <translation>CANopen 从站地址</translation>
    </message>
    <message>
        <source>The range of the parameter value is 1 to 65535.</source>
        <translation>参数取值范围为 1 到 65535。</translation>
    </message>
    <message>
        <source>The range of the parameter value is 0 to 255.</source>
        <translation>参数取值范围为 0 到 255。</translation>
    </message>
    <message>
        <source>Number of Bytes: must be 1 or 2 or 4.</source>
        <translation>字节数：必须为 1、2 或 4。</translation>
    </message>
    <message>
        <source>The memory address mapped to the gateway, the range: 0~111(Decimal)<byte value="xd"/>
Manually fill in under the master mode; you can also automatically fill in using automatic mapping function;<byte value="xd"/>
Cannot manually fill in temporarily under the slave mode, you can only fill in using automatic mapping function.</source>
        <translation>映射到网关的内存地址，范围：0~111(十进制)<byte value="xd"/>
主站模式下可手动填写，也可以使用自动映射功能自动填写；<byte value="xd"/>
从站模式下暂不支持手动填写，只能使用自动映射功能填写。</translation>
    </message>
    <message>
        <source>COBID(decimal) is CAN ID.<byte value="xd"/>
Default value of Transmit PDO :<byte value="xd"/>
384(0x0180) + node ID or 640(0x0280) + node ID or<byte value="xd"/>
896(0x0380) + node ID or 1152(0x0480) + node ID</source>
        <translation>COBID(十进制) 即 CAN ID。<byte value="xd"/>
发送 PDO 的默认值：<byte value="xd"/>
384(0x0180) + 节点 ID 或 640(0x0280) + 节点 ID 或<byte value="xd"/>
896(0x0380) + 节点 ID 或 1152(0x0480) + 节点 ID</translation>
    </message>
    <message>
        <source>Number of Bytes: The range of the parameter value is 1~8</source>
        <translation>字节数：参数取值范围为 1~8</translation>
    </message>
    <message>
        <source>COBID (decimal) is CAN ID.<byte value="xd"/>
Default value of Transmit PDO:<byte value="xd"/>
512(0X0200) + node ID or 768(0X0300) + node ID or<byte value="xd"/>
1024(0X0400) + node ID or 1280(0X0500) + node ID</source>
        <translation>COBID (十进制) 即 CAN ID。<byte value="xd"/>
发送 PDO 的默认值：<byte value="xd"/>
512(0X0200) + 节点 ID 或 768(0X0300) + 节点 ID 或<byte value="xd"/>
1024(0X0400) + 节点 ID 或 1280(0X0500) + 节点 ID</translation>
    </message>
</context>
<context>
    <name>InfoBar</name>
    <message>
        <source>MY Control</source>
        <translation>控制栏</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>信息</translation>
    </message>
    <message>
        <source>News</source>
        <translation>资讯</translation>
    </message>
</context>
<context>
    <name>IoMap</name>
    <message>
        <source>I/O Map</source>
        <translation>I/O 映射表</translation>
    </message>
    <message>
        <source>File</source>
        <translation>文件</translation>
    </message>
    <message>
        <source>(not saved)</source>
        <translation>（未保存）</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>日期</translation>
    </message>
    <message>
        <source>Configuration type</source>
        <translation>配置类型</translation>
    </message>
    <message>
        <source>Gateway parameters</source>
        <translation>网关参数</translation>
    </message>
    <message>
        <source>PLC inputs (Profibus input buffer)</source>
        <translation>PLC 输入（Profibus 输入缓冲区）</translation>
    </message>
    <message>
        <source>PLC outputs (Profibus output buffer)</source>
        <translation>PLC 输出（Profibus 输出缓冲区）</translation>
    </message>
    <message>
        <source>Bytes</source>
        <translation>字节</translation>
    </message>
    <message>
        <source>PLC address</source>
        <translation>PLC 地址</translation>
    </message>
    <message>
        <source>Node</source>
        <translation>节点</translation>
    </message>
    <message>
        <source>Command</source>
        <translation>命令</translation>
    </message>
    <message>
        <source>COB-ID or Index:Sub-index</source>
        <translation>COB-ID 或 索引:子索引</translation>
    </message>
    <message>
        <source>Length</source>
        <translation>长度</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>描述</translation>
    </message>
    <message>
        <source>No command uses this buffer.</source>
        <translation>没有命令使用此缓冲区。</translation>
    </message>
    <message>
        <source>Free bytes: %1 (%2 bytes)</source>
        <translation>空闲字节：%1（%2 字节）</translation>
    </message>
    <message>
        <source>Free bytes: none</source>
        <translation>空闲字节：无</translation>
    </message>
    <message>
        <source>Control&amp;Monitor Status reserves 2 more bytes of each buffer; their position is not defined.</source>
        <translation>Control&amp;Monitor Status 在每个缓冲区另占 2 个字节，其位置未定义。</translation>
    </message>
    <message>
        <source>Pre-download checks</source>
        <translation>下载前检查</translation>
    </message>
    <message>
        <source>All checks passed.</source>
        <translation>所有检查均已通过。</translation>
    </message>
    <message>
        <source>A CANopen Slave configuration is not checked before a download; its mapping addresses are calculated again instead.</source>
        <translation>CANopen Slave 配置在下载前不做检查，而是重新计算映射地址。</translation>
    </message>
    <message>
        <source>Minimum cycle times</source>
        <translation>最小周期</translation>
    </message>
    <message>
        <source>%1 Receive PDO commands: at least %2 ms (configured: %3 ms)</source>
        <translation>%1 条 Receive PDO 命令：至少 %2 毫秒（已配置：%3 毫秒）</translation>
    </message>
    <message>
        <source>%1 SDO commands: at least %2 ms (configured: %3 ms)</source>
        <translation>%1 条 SDO 命令：至少 %2 毫秒（已配置：%3 毫秒）</translation>
    </message>
    <message>
        <source>Checked by, date, signature:</source>
        <translation>检查人、日期、签名：</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>A transfer to the gateway is running. Close the program when it has ended.</source>
        <translation>正在与网关传输数据，请在传输结束后再关闭程序。</translation>
    </message>
    <message>
        <source>Electronic Data Sheet(*.eds)</source>
        <translation>电子数据表(*.eds)</translation>
    </message>
    <message>
        <source>Execl File(*.xlsx)</source>
        <translation>Excel 文件(*.xlsx)</translation>
    </message>
    <message>
        <source>The workbook is saved as
%1
but no program could be started to show it.</source>
        <translation>工作簿已保存为
%1
但无法启动程序来打开它。</translation>
    </message>
    <message>
        <source>The demo gateway could not be started: %1</source>
        <translation>无法启动演示网关：%1</translation>
    </message>
    <message>
        <source>File(&amp;F)</source>
        <translation>文件(&amp;F)</translation>
    </message>
    <message>
        <source>New(&amp;N)</source>
        <translation>新建(&amp;N)</translation>
    </message>
    <message>
        <source>Open(&amp;O)</source>
        <translation>打开(&amp;O)</translation>
    </message>
    <message>
        <source>Save(&amp;S)</source>
        <translation>保存(&amp;S)</translation>
    </message>
    <message>
        <source>Save As(&amp;A)</source>
        <translation>另存为(&amp;A)</translation>
    </message>
    <message>
        <source>Recent</source>
        <translation>最近打开</translation>
    </message>
    <message>
        <source>Exit(&amp;X)</source>
        <translation>退出(&amp;X)</translation>
    </message>
    <message>
        <source>Edit(&amp;E)</source>
        <translation>编辑(&amp;E)</translation>
    </message>
    <message>
        <source>Add Node(&amp;N)</source>
        <translation>添加节点(&amp;N)</translation>
    </message>
    <message>
        <source>Delete Node(&amp;D)</source>
        <translation>删除节点(&amp;D)</translation>
    </message>
    <message>
        <source>Add Command(&amp;I)</source>
        <translation>添加命令(&amp;I)</translation>
    </message>
    <message>
        <source>Delete Command(&amp;E)</source>
        <translation>删除命令(&amp;E)</translation>
    </message>
    <message>
        <source>Copy Node(&amp;C)</source>
        <translation>复制节点(&amp;C)</translation>
    </message>
    <message>
        <source>Paste Node(&amp;P)</source>
        <translation>粘贴节点(&amp;P)</translation>
    </message>
    <message>
        <source>Undo(&amp;U)</source>
        <translation>撤销(&amp;U)</translation>
    </message>
    <message>
        <source>Redo(&amp;R)</source>
        <translation>重做(&amp;R)</translation>
    </message>
    <message>
        <source>Undo: </source>
        <translation>撤销：</translation>
    </message>
    <message>
        <source>Redo: </source>
        <translation>重做：</translation>
    </message>
    <message>
        <source>Tools(&amp;T)</source>
        <translation>工具(&amp;T)</translation>
    </message>
    <message>
        <source>Serial Connection(&amp;P)</source>
        <translation>串口连接(&amp;P)</translation>
    </message>
    <message>
        <source>Upload(&amp;U)</source>
        <translation>上传(&amp;U)</translation>
    </message>
    <message>
        <source>Download(&amp;D)</source>
        <translation>下载(&amp;D)</translation>
    </message>
    <message>
        <source>Calculate Mapping Address(&amp;T)</source>
        <translation>计算映射地址(&amp;T)</translation>
    </message>
    <message>
        <source>Export EXCEL(&amp;O)</source>
        <translation>导出 EXCEL(&amp;O)</translation>
    </message>
    <message>
        <source>Mapping Address Conflict Detection(&amp;C)</source>
        <translation>映射地址冲突检测(&amp;C)</translation>
    </message>
    <message>
        <source>Create EDS File(&amp;E)</source>
        <translation>创建 EDS 文件(&amp;E)</translation>
    </message>
    <message>
        <source>Prompt Information</source>
        <translation>提示信息</translation>
    </message>
    <message>
        <source>Help(&amp;H)</source>
        <translation>帮助(&amp;H)</translation>
    </message>
    <message>
        <source>Content(&amp;C)</source>
        <translation>帮助内容(&amp;C)</translation>
    </message>
    <message>
        <source>About(&amp;A)</source>
        <translation>关于(&amp;A)</translation>
    </message>
    <message>
        <source>New</source>
        <translation>新建</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>打开</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>Upload</source>
        <translation>上传</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>下载</translation>
    </message>
    <message>
        <source>Calculate Mapping Address</source>
        <translation>计算映射地址</translation>
    </message>
    <message>
        <source>Mapping Address Conflict Detection</source>
        <translation>映射地址冲突检测</translation>
    </message>
    <message>
        <source>Export EXCEL</source>
        <translation>导出 EXCEL</translation>
    </message>
    <message>
        <source>Creates a new document</source>
        <translation>新建文档</translation>
    </message>
    <message>
        <source>Opens an existing document</source>
        <translation>打开现有文档</translation>
    </message>
    <message>
        <source>Saves the document</source>
        <translation>保存文档</translation>
    </message>
    <message>
        <source>Saves the document with a new name</source>
        <translation>以新名称保存文档</translation>
    </message>
    <message>
        <source>Quit the application; prompts to save documents</source>
        <translation>退出应用程序；提示保存文档</translation>
    </message>
    <message>
        <source>Display program information, version number and copyright</source>
        <translation>显示程序信息、版本号和版权</translation>
    </message>
    <message>
        <source>Open this document</source>
        <translation>打开此文档</translation>
    </message>
    <message>
        <source>Ready</source>
        <translation>就绪</translation>
    </message>
    <message>
        <source>Capital</source>
        <translation>大写</translation>
    </message>
    <message>
        <source>Roll</source>
        <translation>滚动</translation>
    </message>
    <message>
        <source>Help file
%1
do not exist!</source>
        <translation>帮助文件
%1
不存在！</translation>
    </message>
    <message>
        <source>No program could be started to show the help file
%1
It is shown in a window of this program.</source>
        <translation>无法启动程序来显示帮助文件
%1
将在本程序的窗口中显示。</translation>
    </message>
    <message>
        <source>Torvane Help</source>
        <translation>Torvane 帮助</translation>
    </message>
    <message>
        <source>Compare with Gateway(&amp;G)</source>
        <translation>与网关比较(&amp;G)</translation>
    </message>
    <message>
        <source>Saved %1</source>
        <translation>已保存 %1</translation>
    </message>
    <message>
        <source>Monitor(&amp;M)</source>
        <translation>监控(&amp;M)</translation>
    </message>
    <message>
        <source>Compare with File(&amp;F)</source>
        <translation>与文件比较(&amp;F)</translation>
    </message>
    <message>
        <source>Device Library…(&amp;L)</source>
        <translation>设备库…(&amp;L)</translation>
    </message>
    <message>
        <source>Add Node from Device…(&amp;F)</source>
        <translation>从设备添加节点…(&amp;F)</translation>
    </message>
    <message>
        <source>The monitor is using the serial port. Close the monitor before a download, an upload or a comparison with the gateway.</source>
        <translation>监视器正在使用串口。请先关闭监视器，再进行下载、上传或与网关比较。</translation>
    </message>
    <message>
        <source>Export PLC Tags…</source>
        <translation>导出 PLC 变量…</translation>
    </message>
    <message>
        <source>Print I/O Map…</source>
        <translation>打印 I/O 映射表…</translation>
    </message>
    <message>
        <source>CSV File(*.csv)</source>
        <translation>CSV 文件(*.csv)</translation>
    </message>
    <message>
        <source>IEC 61131-3 File(*.st)</source>
        <translation>IEC 61131-3 文件(*.st)</translation>
    </message>
    <message>
        <source>PDF File(*.pdf)</source>
        <translation>PDF 文件(*.pdf)</translation>
    </message>
    <message>
        <source>HTML File(*.html)</source>
        <translation>HTML 文件(*.html)</translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>%1
%2</source>
        <translation>%1
%2</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <translation>%1, %2</translation>
    </message>
</context>
<context>
    <name>Monitor</name>
    <message>
        <source>Input data</source>
        <translation>输入数据</translation>
    </message>
    <message>
        <source>Output data</source>
        <translation>输出数据</translation>
    </message>
    <message>
        <source>memory address is empty</source>
        <translation>内存地址为空</translation>
    </message>
    <message>
        <source>memory address is not a decimal number</source>
        <translation>内存地址不是十进制数</translation>
    </message>
    <message>
        <source>the data to be send is empty</source>
        <translation>待发送的数据为空</translation>
    </message>
    <message>
        <source>Malformed</source>
        <translation>格式错误</translation>
    </message>
    <message>
        <source>The output data is longer than the 1024-byte transmit buffer</source>
        <translation>输出数据超出 1024 字节的发送缓冲区</translation>
    </message>
    <message>
        <source>The output data is longer than the 253 bytes one frame can carry; nothing was sent</source>
        <translation>输出数据超过单帧可承载的 253 字节，未发送任何数据</translation>
    </message>
    <message>
        <source>The open configuration may differ from the gateway&apos;s: values may be shown at the wrong place</source>
        <translation>打开的配置可能与网关中的不同：数值可能显示在错误的位置</translation>
    </message>
    <message>
        <source>Writing by command waits for the gateway&apos;s first frame</source>
        <translation>按命令写入需等待网关的第一帧</translation>
    </message>
    <message>
        <source>The gateway&apos;s split frames take no output: writing by command is not possible</source>
        <translation>网关的分段帧不接收输出：无法按命令写入</translation>
    </message>
    <message>
        <source>The gateway&apos;s frames carry no output image: writing by command is not possible</source>
        <translation>网关的帧不带输出映像：无法按命令写入</translation>
    </message>
    <message>
        <source>The gateway&apos;s first frame was damaged: the monitor stays silent until it is opened again</source>
        <translation>网关的第一帧已损坏：监控将保持静默，直到重新打开</translation>
    </message>
    <message>
        <source>This command is not an output</source>
        <translation>此命令不是输出</translation>
    </message>
    <message>
        <source>Enter a decimal value, or a hex value starting with 0x, that fits the command&apos;s bytes</source>
        <translation>请输入适合该命令字节数的十进制值，或以 0x 开头的十六进制值</translation>
    </message>
    <message>
        <source>The gateway takes the whole output image with every answer: output bytes this window never set go out as 00.</source>
        <translation>网关每次应答都接收整个输出映像：本窗口未设置过的输出字节将以 00 发送。</translation>
    </message>
    <message>
        <source>The test outputs stay in the gateway&apos;s output buffer. Set them back to 00 before closing?</source>
        <translation>测试输出会保留在网关的输出缓冲区中。关闭前是否将其恢复为 00？</translation>
    </message>
    <message>
        <source>The test outputs were not set back to 00: the gateway took no answer within 5 seconds.</source>
        <translation>测试输出未能恢复为 00：网关在 5 秒内未接收应答。</translation>
    </message>
</context>
<context>
    <name>MonitorWindow</name>
    <message>
        <source>Monitor</source>
        <translation>监控</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>状态</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>时间</translation>
    </message>
    <message>
        <source>Data</source>
        <translation>数据</translation>
    </message>
    <message>
        <source>Input Data:</source>
        <translation>输入数据：</translation>
    </message>
    <message>
        <source>Output:</source>
        <translation>输出：</translation>
    </message>
    <message>
        <source>The starting address:</source>
        <translation>起始地址：</translation>
    </message>
    <message>
        <source>(The starting address in DP output buffer, base 0)</source>
        <translation>(DP 输出缓冲区中的起始地址，从 0 开始)</translation>
    </message>
    <message>
        <source>Data:</source>
        <translation>数据：</translation>
    </message>
    <message>
        <source>(Output data)</source>
        <translation>(输出数据)</translation>
    </message>
    <message>
        <source>Transmit</source>
        <translation>发送</translation>
    </message>
    <message>
        <source>Save Content</source>
        <translation>保存内容</translation>
    </message>
    <message>
        <source>Stop Saving</source>
        <translation>停止保存</translation>
    </message>
    <message>
        <source>Stop Displaying</source>
        <translation>停止显示</translation>
    </message>
    <message>
        <source>Continue to display</source>
        <translation>继续显示</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>退出</translation>
    </message>
    <message>
        <source>TXT File(*.txt)</source>
        <translation>文本文件(*.txt)</translation>
    </message>
    <message>
        <source>Commands</source>
        <translation>命令</translation>
    </message>
    <message>
        <source>Node</source>
        <translation>节点</translation>
    </message>
    <message>
        <source>Command</source>
        <translation>命令</translation>
    </message>
    <message>
        <source>COB-ID / Index:Sub</source>
        <translation>COB-ID / 索引:子索引</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>描述</translation>
    </message>
    <message>
        <source>Bytes</source>
        <translation>字节</translation>
    </message>
    <message>
        <source>PLC address</source>
        <translation>PLC 地址</translation>
    </message>
    <message>
        <source>Raw</source>
        <translation>原始数据</translation>
    </message>
    <message>
        <source>Unsigned</source>
        <translation>无符号</translation>
    </message>
    <message>
        <source>Signed</source>
        <translation>有符号</translation>
    </message>
    <message>
        <source>Changed</source>
        <translation>变化时间</translation>
    </message>
    <message>
        <source>beyond the buffer</source>
        <translation>超出缓冲区</translation>
    </message>
    <message>
        <source>Value:</source>
        <translation>数值：</translation>
    </message>
    <message>
        <source>(decimal, or hex starting with 0x)</source>
        <translation>(十进制，或以 0x 开头的十六进制)</translation>
    </message>
    <message>
        <source>Select an output command to write its value.</source>
        <translation>请选择一条输出命令以写入其数值。</translation>
    </message>
    <message>
        <source>Test outputs set in the gateway: %1</source>
        <translation>网关中已设置的测试输出：%1</translation>
    </message>
    <message>
        <source>Test outputs set in the gateway: none</source>
        <translation>网关中已设置的测试输出：无</translation>
    </message>
    <message>
        <source>Setting the test outputs back to 00...</source>
        <translation>正在将测试输出恢复为 00...</translation>
    </message>
    <message>
        <source>Record...</source>
        <translation>记录...</translation>
    </message>
    <message>
        <source>Stop Recording</source>
        <translation>停止记录</translation>
    </message>
    <message>
        <source>With raw frames</source>
        <translation>包含原始帧</translation>
    </message>
    <message>
        <source>CSV File(*.csv)</source>
        <translation>CSV 文件(*.csv)</translation>
    </message>
</context>
<context>
    <name>PlcTags</name>
    <message>
        <source>Calculate Mapping Address first (command %1: %2)</source>
        <translation>请先计算映射地址（命令 %1：%2）</translation>
    </message>
</context>
<context>
    <name>PlcTagsDialog</name>
    <message>
        <source>Export PLC Tags</source>
        <translation>导出 PLC 变量</translation>
    </message>
    <message>
        <source>Format:</source>
        <translation>格式：</translation>
    </message>
    <message>
        <source>Generic table (CSV)</source>
        <translation>通用表格 (CSV)</translation>
    </message>
    <message>
        <source>TIA Portal PLC tag table (XLSX)</source>
        <translation>TIA Portal PLC 变量表 (XLSX)</translation>
    </message>
    <message>
        <source>IEC 61131-3 global variables</source>
        <translation>IEC 61131-3 全局变量</translation>
    </message>
    <message>
        <source>Word addressing (%IW n = bytes 2n and 2n+1)</source>
        <translation>字寻址（%IW n = 字节 2n 和 2n+1）</translation>
    </message>
    <message>
        <source>First input byte:</source>
        <translation>首个输入字节：</translation>
    </message>
    <message>
        <source>First output byte:</source>
        <translation>首个输出字节：</translation>
    </message>
    <message>
        <source>Device of each node</source>
        <translation>各节点的设备</translation>
    </message>
    <message>
        <source>Node</source>
        <translation>节点</translation>
    </message>
    <message>
        <source>Device</source>
        <translation>设备</translation>
    </message>
    <message>
        <source>(none)</source>
        <translation>（无）</translation>
    </message>
    <message>
        <source>First tags</source>
        <translation>前几个变量</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>地址</translation>
    </message>
    <message>
        <source>Data type</source>
        <translation>数据类型</translation>
    </message>
    <message>
        <source>Comment</source>
        <translation>注释</translation>
    </message>
</context>
<context>
    <name>SelectCommandsDialog</name>
    <message>
        <source>Select Commands</source>
        <translation>选择命令</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>添加</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
</context>
<context>
    <name>SerialDialog</name>
    <message>
        <source>Serial Port Configuration</source>
        <translation>串口配置</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>端口</translation>
    </message>
    <message>
        <source>Baudrate</source>
        <translation>波特率</translation>
    </message>
    <message>
        <source>Parity</source>
        <translation>校验位</translation>
    </message>
    <message>
        <source>Data Bits</source>
        <translation>数据位</translation>
    </message>
    <message>
        <source>Stop Bits</source>
        <translation>停止位</translation>
    </message>
    <message>
        <source>None</source>
        <translation>无</translation>
    </message>
    <message>
        <source>ODD</source>
        <translation>奇校验</translation>
    </message>
    <message>
        <source>EVEN</source>
        <translation>偶校验</translation>
    </message>
    <message>
        <source>MARK</source>
        <translation>标记</translation>
    </message>
    <message>
        <source>SPACE</source>
        <translation>空格</translation>
    </message>
    <message>
        <source>Demo gateway</source>
        <translation>演示网关</translation>
    </message>
</context>
<context>
    <name>Transfer</name>
    <message>
        <source>Failed to open serial port</source>
        <translation>打开串口失败</translation>
    </message>
    <message>
        <source>Write data to the serial port error</source>
        <translation>向串口写入数据出错</translation>
    </message>
    <message>
        <source>Reading serial data failed</source>
        <translation>读取串口数据失败</translation>
    </message>
    <message>
        <source>Data validation errors</source>
        <translation>数据校验错误</translation>
    </message>
    <message>
        <source>Hardware and software version does not match</source>
        <translation>硬件与软件版本不匹配</translation>
    </message>
    <message>
        <source>Download error</source>
        <translation>下载出错</translation>
    </message>
    <message>
        <source>Failed to upload</source>
        <translation>上传失败</translation>
    </message>
    <message>
        <source>Failed to download</source>
        <translation>下载失败</translation>
    </message>
    <message>
        <source>The hardware does not support the current configuration</source>
        <translation>硬件不支持当前配置</translation>
    </message>
    <message>
        <source>The current configuration does not support the choice of input and output bytes
</source>
        <translation>当前配置不支持所选的输入输出字节数
</translation>
    </message>
    <message>
        <source>Mapping address  overflow</source>
        <translation>映射地址溢出</translation>
    </message>
    <message>
        <source>Download cancel</source>
        <translation>下载已取消</translation>
    </message>
    <message>
        <source>Upload cancel</source>
        <translation>上传已取消</translation>
    </message>
    <message>
        <source>Operation is successful</source>
        <translation>操作成功</translation>
    </message>
    <message>
        <source>Unknown error</source>
        <translation>未知错误</translation>
    </message>
    <message>
        <source>Permission denied: the user is not allowed to use this port (on Linux, join the &quot;dialout&quot; group and log in again).</source>
        <translation>权限不足：当前用户无权使用此端口（在 Linux 上，请加入 &quot;dialout&quot; 组并重新登录）。</translation>
    </message>
    <message>
        <source>The port is in use by another program or transfer.</source>
        <translation>该端口正被其他程序或其他传输占用。</translation>
    </message>
    <message>
        <source>The device does not exist or was unplugged.</source>
        <translation>设备不存在或已被拔出。</translation>
    </message>
    <message>
        <source>No serial port is selected.</source>
        <translation>未选择串口。</translation>
    </message>
    <message>
        <source>The path does not name a terminal (serial) device.</source>
        <translation>该路径不是终端（串口）设备。</translation>
    </message>
    <message>
        <source>by-id link</source>
        <translation>by-id 链接</translation>
    </message>
    <message>
        <source>USB id</source>
        <translation>USB ID</translation>
    </message>
    <message>
        <source>manufacturer</source>
        <translation>制造商</translation>
    </message>
    <message>
        <source>description</source>
        <translation>描述</translation>
    </message>
    <message>
        <source>serial number</source>
        <translation>序列号</translation>
    </message>
    <message>
        <source>Download hint:</source>
        <translation>下载提示：</translation>
    </message>
    <message>
        <source>compatible format</source>
        <translation>兼容格式</translation>
    </message>
    <message>
        <source>new format</source>
        <translation>新格式</translation>
    </message>
    <message>
        <source>The path leads through a loop of symbolic links.</source>
        <translation>该路径经过符号链接的循环。</translation>
    </message>
    <message>
        <source>Port: %1</source>
        <translation>端口: %1</translation>
    </message>
    <message>
        <source>%1
  %2: %3</source>
        <translation>%1
  %2: %3</translation>
    </message>
    <message>
        <source>&quot;%1&quot;is empty</source>
        <translation>&quot;%1&quot;为空</translation>
    </message>
    <message>
        <source>%1\%2</source>
        <translation>%1\%2</translation>
    </message>
</context>
<context>
    <name>WaitDialog</name>
    <message>
        <source>Download</source>
        <translation>下载</translation>
    </message>
    <message>
        <source>Upload</source>
        <translation>上传</translation>
    </message>
    <message>
        <source>Download to %1: frame %2 of %3</source>
        <translation>下载到 %1：第 %2 帧，共 %3 帧</translation>
    </message>
    <message>
        <source>Upload from %1: frame %2 of %3</source>
        <translation>从 %1 上传：第 %2 帧，共 %3 帧</translation>
    </message>
</context>
</TS>
