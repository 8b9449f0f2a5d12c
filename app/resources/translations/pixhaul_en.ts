<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Pixhaul</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>CREATE_FOLDER_INVALID</source>
        <translation>The name can’t contain “:” or “/”. Please choose another name.</translation>
    </message>
    <message>
        <source>CREATE_FOLDER_CONFLICT</source>
        <translation>The name “%1” is already taken. Please choose a different name.</translation>
    </message>
    <message>
        <source>Canceling...</source>
        <translation>Canceling…</translation>
    </message>
    <message>
        <source>NOT_YET_AVAILABLE</source>
        <translation>Pixhaul’s windows are not available in this build yet.</translation>
    </message>
    <message numerus="yes">
        <source>ITEM_COUNT</source>
        <translation>
            <numerusform>%n item</numerusform>
            <numerusform>%n items</numerusform>
        </translation>
    </message>
</context>
</TS>
