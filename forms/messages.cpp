#include "forms/messages.h"

namespace tervalen::forms {

std::string notANumberMessage(std::string_view symbol) {
    const std::string s(symbol);
    return twoLines("输入的 " + s + " 数值错误！", s + " 的数值不是一个有效的数字！");
}

std::string arithmeticMessage(const ArithmeticFailure& failure) {
    const std::string& q = failure.quantity();
    std::string what;
    switch (failure.kind()) {
        case ArithmeticFailure::Kind::NegativeRoot:
            what = "计算 " + q + " 时遇到负数开平方！";
            break;
        case ArithmeticFailure::Kind::LogOfNonPositive:
            what = "计算 " + q + " 时遇到零或负数取对数！";
            break;
        case ArithmeticFailure::Kind::DivisionByZero:
            what = "计算 " + q + " 时遇到除数为零！";
            break;
        case ArithmeticFailure::Kind::Overflow:
            what = "计算 " + q + " 时数值超出范围！";
            break;
    }
    return twoLines("输入的数据无法计算！", what);
}

}  // namespace tervalen::forms
