#include "view/PrintDlgSettings.h"

TPrintDlgSettings PrintDlgSettings;
