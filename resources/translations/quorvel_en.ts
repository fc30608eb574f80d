<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>SystemMenu</name>
    <message>
        <source>最小化(&amp;N)</source>
        <translation>Mi&amp;nimize</translation>
    </message>
    <message>
        <source>最大化(&amp;X)</source>
        <translation>Ma&amp;ximize</translation>
    </message>
    <message>
        <source>恢复(&amp;R)</source>
        <translation>&amp;Restore</translation>
    </message>
    <message>
        <source>卷起(&amp;L)</source>
        <translation>Ro&amp;ll up</translation>
    </message>
    <message>
        <source>最小化到系统托盘区(&amp;T)</source>
        <translation>Minimize to &amp;tray</translation>
    </message>
    <message>
        <source>关闭(&amp;C)</source>
        <translation>&amp;Close</translation>
    </message>
</context>
<context>
    <name>FrameHints</name>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>最大化</source>
        <translation>Maximize</translation>
    </message>
    <message>
        <source>最小化</source>
        <translation>Minimize</translation>
    </message>
    <message>
        <source>系统菜单</source>
        <translation>System menu</translation>
    </message>
    <message>
        <source>卷起</source>
        <translation>Roll up</translation>
    </message>
    <message>
        <source>最小化到系统托盘区</source>
        <translation>Minimize to tray</translation>
    </message>
</context>
</TS>
