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
        <source>TRANSFER_HISTORY_COUNTS</source>
        <translation>%1 new, %2 already imported</translation>
    </message>
    <message>
        <source>TRANSFER_NEW_ONLY</source>
        <translation>Import only the new files</translation>
    </message>
    <message>
        <source>TRANSFER_NOTHING_NEW</source>
        <translation>Every file of the source has been imported before.</translation>
    </message>
    <message>
        <source>TRANSFER_MEASURING_SPACE</source>
        <translation>Measuring the free space…</translation>
    </message>
    <message>
        <source>TRANSFER_VOLUME_SPACE</source>
        <translation>%1 to write, %2 free</translation>
    </message>
    <message>
        <source>TRANSFER_NO_SPACE</source>
        <translation>The transfer does not fit and was not started.
%1</translation>
    </message>
    <message>
        <source>TRANSFER_VERIFY_COPIES</source>
        <translation>Read every copy back and compare it with the card</translation>
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
    <message>
        <source>TRANSFER_FINISHED_COUNTS</source>
        <translation>Transferred: %1, skipped: %2, already imported: %3, failed: %4</translation>
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
    <message>
        <source>Refresh</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>New Folder</source>
        <translation>New Folder</translation>
    </message>
    <message>
        <source>Add to Favorites</source>
        <translation>Add to Favorites</translation>
    </message>
    <message>
        <source>Remove from Favorites</source>
        <translation>Remove from Favorites</translation>
    </message>
    <message>
        <source>Transfer images...</source>
        <translation>Transfer Images…</translation>
    </message>
    <message>
        <source>Show in File Manager</source>
        <translation>Show in File Manager</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>Rename</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Paste</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Select All Images</translation>
    </message>
    <message>
        <source>Select All Files</source>
        <translation>Select All Files</translation>
    </message>
    <message>
        <source>Select All Media</source>
        <translation>Select All Images and Movies</translation>
    </message>
    <message>
        <source>MENU_IMAGE</source>
        <translation>Image</translation>
    </message>
    <message>
        <source>CONFIRM_REMOVE_FAVORITE</source>
        <translation>Do you want to remove this folder from the favorites?</translation>
    </message>
    <message>
        <source>NO_UNDO_AVAIL</source>
        <translation>You can’t undo this action.</translation>
    </message>
    <message>
        <source>CONFIRM_DELETE_FOLDER</source>
        <translation>Do you want to move this folder to the Trash?</translation>
    </message>
    <message>
        <source>CONFIRM_DELETE_FILES</source>
        <translation>Do you want to move the selected items to the Trash?</translation>
    </message>
    <message>
        <source>CREATE_FOLDER_PROMPT</source>
        <translation>Name of the new folder:</translation>
    </message>
    <message>
        <source>CREATE_FOLDER_DEFAULT</source>
        <translation>untitled folder</translation>
    </message>
    <message numerus="yes">
        <source>FILE_OPERATION_FAILED</source>
        <translation>
            <numerusform>%n item could not be copied, moved, turned or moved to the Trash. It was left as it was.</numerusform>
            <numerusform>%n items could not be copied, moved, turned or moved to the Trash. They were left as they were.</numerusform>
        </translation>
    </message>
    <message>
        <source>BATCH_PROCESS_TITLE</source>
        <translation>Batch Process</translation>
    </message>
    <message>
        <source>BATCH_PROCESS_START</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>BATCH_PROCESS_IMAGE</source>
        <translation>Processing “%1” (%2 of %3)…</translation>
    </message>
    <message numerus="yes">
        <source>BATCH_PROCESS_WRITTEN</source>
        <translation>
            <numerusform>%n picture written to “%1”.</numerusform>
            <numerusform>%n pictures written to “%1”.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>BATCH_PROCESS_STOPPED</source>
        <translation>
            <numerusform>Stopped: %n picture written to “%1”.</numerusform>
            <numerusform>Stopped: %n pictures written to “%1”.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>BATCH_PROCESS_FAILED</source>
        <translation>
            <numerusform>%n picture could not be processed; its original is unchanged:</numerusform>
            <numerusform>%n pictures could not be processed; their originals are unchanged:</numerusform>
        </translation>
    </message>
    <message>
        <source>Filename</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>File size</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>Taken on</source>
        <translation>Taken on</translation>
    </message>
    <message>
        <source>Dimensions</source>
        <translation>Dimensions</translation>
    </message>
    <message>
        <source>Orientation</source>
        <translation>Orientation</translation>
    </message>
    <message>
        <source>Scene Type</source>
        <translation>Scene type</translation>
    </message>
    <message>
        <source>Exposure</source>
        <translation>Exposure</translation>
    </message>
    <message>
        <source>F-Number</source>
        <translation>F-number</translation>
    </message>
    <message>
        <source>Focal length</source>
        <translation>Focal length</translation>
    </message>
    <message>
        <source>ISO Rating</source>
        <translation>ISO</translation>
    </message>
    <message>
        <source>Exposure Bias</source>
        <translation>Exposure bias</translation>
    </message>
    <message>
        <source>Flash</source>
        <translation>Flash</translation>
    </message>
    <message>
        <source>White balance</source>
        <translation>White balance</translation>
    </message>
    <message>
        <source>Brightness</source>
        <translation>Brightness</translation>
    </message>
    <message>
        <source>Contrast</source>
        <translation>Contrast</translation>
    </message>
    <message>
        <source>Saturation</source>
        <translation>Saturation</translation>
    </message>
    <message>
        <source>Camera Make</source>
        <translation>Camera make</translation>
    </message>
    <message>
        <source>Camera Model</source>
        <translation>Camera model</translation>
    </message>
    <message>
        <source>Color Model</source>
        <translation>Colour space</translation>
    </message>
    <message>
        <source>Profile Name</source>
        <translation>Profile</translation>
    </message>
    <message>
        <source>Duration</source>
        <translation>Duration</translation>
    </message>
    <message>
        <source>Codecs</source>
        <translation>Codecs</translation>
    </message>
    <message>
        <source>Video Bitrate</source>
        <translation>Video bit rate</translation>
    </message>
    <message>
        <source>Audio Bitrate</source>
        <translation>Audio bit rate</translation>
    </message>
    <message>
        <source>bits/sec</source>
        <translation>bit/s</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>View</source>
        <translation>View</translation>
    </message>
    <message>
        <source>Slideshow</source>
        <translation>Slideshow</translation>
    </message>
    <message>
        <source>Quick Look</source>
        <translation>Quick Preview</translation>
    </message>
    <message>
        <source>Hide Information</source>
        <translation>Hide Information</translation>
    </message>
    <message>
        <source>Print…</source>
        <translation>Print…</translation>
    </message>
    <message>
        <source>Edit with %1</source>
        <translation>Edit with %1</translation>
    </message>
    <message>
        <source>Add to %1</source>
        <translation>Add to %1</translation>
    </message>
    <message>
        <source>Set as Desktop Picture</source>
        <translation>Set as Desktop Picture</translation>
    </message>
    <message>
        <source>Copy Image</source>
        <translation>Copy Image</translation>
    </message>
    <message>
        <source>Batch Process…</source>
        <translation>Batch Process…</translation>
    </message>
    <message>
        <source>Transfer Images…</source>
        <translation>Transfer Images…</translation>
    </message>
    <message>
        <source>PIXHAUL_FEATURES</source>
        <translation>Pixhaul on the Web</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Open with %1</source>
        <translation>Open with %1</translation>
    </message>
    <message>
        <source>Default Application</source>
        <translation>Default Application</translation>
    </message>
    <message>
        <source>START_AT_LOGIN_TITLE</source>
        <translation>Start Pixhaul’s card watcher when you log in?</translation>
    </message>
    <message>
        <source>START_AT_LOGIN_INFO</source>
        <translation>Pixhaul can watch for camera cards and offer to transfer their pictures as soon as one is inserted. You can change this later in the preferences.</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>No</source>
        <translation>No</translation>
    </message>
</context>
</TS>
