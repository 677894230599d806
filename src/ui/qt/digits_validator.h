#pragma once
// Number fields take ASCII digits only. A plain check rather than a regular
// expression: the pattern engine costs the window start-up time and memory.

#include <QValidator>

namespace quorlin {

class DigitsValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& /*pos*/) const override
    {
        for (const QChar c : input)
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return Invalid;
        return Acceptable;
    }
};

}  // namespace quorlin
