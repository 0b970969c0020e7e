#pragma once
// The demo's "Dialogs" menu: an alert, and a modal dialog holding every kind of item (two editable
// texts, a check box, three radio buttons, a scroll bar from a 'CNTL', an icon, a picture, OK and
// Cancel) whose clicks the demo handles itself. Their resources are in QIVADEMO.RSR beside the
// program (tools/qiva-demo/demo.qrs). When each ends, standard output gets "alert ID ITEM", or
// "dialog ID ITEM" and one line "value N V "TEXT"" per item.

// Starts the Dialog Manager and opens the demo's resource file (after TextEdit).
void DemoDialogsStart();
// Adds the Dialogs menu to the demo's menu bar.
void DemoDialogsMenus();
