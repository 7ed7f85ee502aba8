// The screen compiler's text form of a screen file.
//
//   # a comment
//   sequence "Default Timeline" id 0 duration 2.5 chained -1 autoplay
//   CCLayer {
//     contentSize 0 0 100 100            # absolute w h, then percent w h of the parent
//     CCLabelBMFont as owner title {     # bound to the owner's member "title"
//       position 10 20 50 0              # absolute x y, then percent x y
//       fntFile "font-14.fnt"
//       string "%MENU_TITLE"
//       animate 0 opacity {
//         at 0 linear 0
//         at 1.5 cubicIn:2 255
//       }
//     }
//     CCMenu {
//       CCMenuItemImage as owner okButton {
//         normalSpriteFrame "texture" "button-ok.png"
//         block onOk 2                   # selector, target (1 root, 2 owner)
//       }
//     }
//     extra string caption "Hello"       # a custom property: type, name, value
//   }
//
// Property lines end at the end of the line; their values follow the property's type in the
// class table (numbers, true/false, strings quoted or bare).
#pragma once

#include <string>

#include "CCBDocument.h"

namespace ccbc {

// Compiles text into a document, checking classes and properties against the class table.
// On failure, error holds "name:line: reason".
bool compileText(const std::string& text, const std::string& sourceName,
                 cocos2d::extension::CCBDocument& doc, std::string& error);

// Writes a document back as text (the form compileText reads).
std::string documentToText(const cocos2d::extension::CCBDocument& doc);

}  // namespace ccbc
