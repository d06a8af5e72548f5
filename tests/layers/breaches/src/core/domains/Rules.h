#pragma once
class QDialog;
