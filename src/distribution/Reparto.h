#pragma once
// An amount split among a table's lines by their percentages, to the cent: each line takes
// its share rounded down, and the cents still missing go one by one to the lines with the
// largest remainders (the earlier line first on a tie). A negative amount is split as its
// opposite and the shares turned negative, so a reversal mirrors the original.

#include "suite/Moneda.h"

#include <optional>
#include <vector>

struct Reparto {
    std::vector<suite::Moneda> importes; // one per percentage, in the same order
    suite::Moneda sinDistribuir;         // what percentages below 100 leave of the amount
};

// `decimales` are the currency's (2: cents); the amount is first rounded to them. Nothing
// when a percentage is negative or they add up to more than 100.
std::optional<Reparto> RepartirImporte(suite::Moneda importe, const std::vector<suite::Moneda>& porcentajes, int decimales);
