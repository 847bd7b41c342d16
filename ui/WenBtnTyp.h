#pragma once
// The key symbols a bitmap button can show; the value is the symbol's row in the symbol strip.

enum class TWenBtnTyp : int {
    sbA, sbB, sbC, sbD, sbE, sbF, sbG, sbH, sbI, sbJ, sbK, sbL, sbM, sbN, sbO,
    sbP, sbR, sbS, sbT, sbU, sbW, sbZ,
    sbF1, sbF2, sbF3, sbF4, sbF5, sbF6, sbF7, sbF8, sbF9, sbF10, sbF11, sbF12,
    sbBackspace, sbEnter, sbPlus, sbMinus, sbTab, sbGwiazdka, sbAltBkspc, sb1, sbPusty,
    sbWlasny, // the button's own picture instead of a key symbol
    sbSlash,
};

constexpr int kWenBtnTypCount = 45;
