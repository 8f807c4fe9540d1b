# The button family and the picture's helpers.
target_sources(kestrel_core PRIVATE
    controls/ButtonLook.cpp
    controls/CCheckButton.cpp
    controls/CColorButton.cpp
    controls/CHelpButton.cpp
    controls/CIconButton.cpp
    controls/CImageButton.cpp
    controls/CRadioButton.cpp
    controls/CTextButton.cpp
    controls/CheckableButton.cpp
    controls/ImageSizeProvider.cpp
    controls/MButton2.cpp
    controls/MButton3.cpp
    controls/SkinPath.cpp
)
