#include "ViewController.h"

ViewController::ViewController(QWidget* parent)
    : QWidget(parent) {}
