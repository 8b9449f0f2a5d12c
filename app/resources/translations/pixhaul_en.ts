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
        <source>Back</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>Continue</source>
        <translation>Continue</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Done</translation>
    </message>
    <message numerus="yes">
        <source>ITEM_COUNT</source>
        <translation>
            <numerusform>%n item</numerusform>
            <numerusform>%n items</numerusform>
        </translation>
    </message>
    <message>
        <source>General</source>
        <translation>General</translation>
    </message>
    <message>
        <source>Transfer</source>
        <translation>Transfer</translation>
    </message>
    <message>
        <source>Viewer</source>
        <translation>Viewer</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>Preferences</source>
        <translation>Preferences</translation>
    </message>
    <message>
        <source>OVERWRITE_MODE_ASK</source>
        <translation>Ask what to do</translation>
    </message>
    <message>
        <source>OVERWRITE_MODE_REPLACE</source>
        <translation>Replace the existing file</translation>
    </message>
    <message>
        <source>OVERWRITE_MODE_SKIP</source>
        <translation>Keep the existing file (skip)</translation>
    </message>
    <message>
        <source>EMPTY_CAMERA</source>
        <translation>There are no pictures or movies to import on this camera.</translation>
    </message>
    <message>
        <source>IMPORT_FROM_CARD</source>
        <translation>Import from a Camera Card or Folder…</translation>
    </message>
    <message>
        <source>OPEN_PICTURES_FOLDER</source>
        <translation>Open the Pictures Folder</translation>
    </message>
    <message>
        <source>ABOUT_PIXHAUL</source>
        <translation>About Pixhaul</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>BROWSER_FAVORITES</source>
        <translation>Favorites</translation>
    </message>
    <message>
        <source>BROWSER_DEVICES</source>
        <translation>Drives</translation>
    </message>
    <message>
        <source>MENU_VIEW</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>MENU_GO</source>
        <translation>&amp;Go</translation>
    </message>
    <message>
        <source>MENU_FILE</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>MENU_EDIT</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>MENU_HELP</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>HOME_INTRO</source>
        <translation>Connect a camera or insert a memory card to import its pictures and movies into dated folders, or choose a card or folder to import from.</translation>
    </message>
    <message>
        <source>Source folder must be a valid folder</source>
        <translation>Source folder must be a valid folder</translation>
    </message>
    <message>
        <source>Destination folder must not be empty</source>
        <translation>Destination folder must not be empty</translation>
    </message>
    <message>
        <source>TRANSFER_SCANNING</source>
        <translation>Looking for pictures and movies…</translation>
    </message>
    <message>
        <source>TRANSFER_GROUP_TITLE</source>
        <translation>Group %1 of %2: %3</translation>
    </message>
    <message numerus="yes">
        <source>TRANSFER_FAILED_FILES</source>
        <translation>
            <numerusform>%n file could not be transferred: %1</numerusform>
            <numerusform>%n files could not be transferred: %1</numerusform>
        </translation>
    </message>
    <message>
        <source>Zoom In</source>
        <translation>Zoom In</translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation>Zoom Out</translation>
    </message>
    <message>
        <source>Zoom to Fit</source>
        <translation>Zoom to Fit</translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation>Zoom</translation>
    </message>
    <message>
        <source>Actual Size</source>
        <translation>Actual Size</translation>
    </message>
    <message>
        <source>Lock Zoom</source>
        <translation>Lock Zoom</translation>
    </message>
    <message>
        <source>Rotate Right</source>
        <translation>Rotate Right</translation>
    </message>
    <message>
        <source>Rotate Left</source>
        <translation>Rotate Left</translation>
    </message>
    <message>
        <source>Rotate 180</source>
        <translation>Rotate 180°</translation>
    </message>
    <message>
        <source>Flip Horizontal</source>
        <translation>Flip Horizontal</translation>
    </message>
    <message>
        <source>Flip Vertical</source>
        <translation>Flip Vertical</translation>
    </message>
    <message>
        <source>Auto Rotate</source>
        <translation>Rotate Upright</translation>
    </message>
    <message>
        <source>Show Information</source>
        <translation>Show Information</translation>
    </message>
    <message>
        <source>Move to Trash</source>
        <translation>Move to Trash</translation>
    </message>
    <message>
        <source>Close Viewer</source>
        <translation>Close Viewer</translation>
    </message>
    <message>
        <source>Start Slideshow</source>
        <translation>Start Slideshow</translation>
    </message>
    <message>
        <source>Stop Slideshow</source>
        <translation>Stop Slideshow</translation>
    </message>
    <message>
        <source>CONFIRM_DELETE_IMAGE</source>
        <translation>Do you want to move this picture to the Trash?</translation>
    </message>
    <message>
        <source>MOVED_TO_TRASH</source>
        <translation>The picture is moved to the Trash. You can restore it from there.</translation>
    </message>
    <message>
        <source>VIEWER_TRANSFORMING</source>
        <translation>Turning the picture…</translation>
    </message>
</context>
</TS>
