#pragma once

class Menu {};
