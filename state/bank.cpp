#include "state/bank.h"

Bank::Bank()
    : Current(kBankPoints),
      Minimum(kBankPoints),
      Average(kBankPoints),
      Maximum(kBankPoints),
      Etalon(kBankPoints),
      Processed(kBankPoints),
      Flags(kBankPoints) {}
