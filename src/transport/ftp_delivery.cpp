#include "transport/ftp_delivery.h"
